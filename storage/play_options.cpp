#include "play_options.h"

#include "safe_write.h"

namespace sokoban {

Bytes TPlayOptions::encode() const {
    const auto s = static_cast<std::uint16_t>(solveSeconds);
    return {markDead, shortestWalk, static_cast<std::uint8_t>(s & 0xff),
            static_cast<std::uint8_t>(s >> 8), animate};
}

TPlayOptions TPlayOptions::decode(std::span<const std::uint8_t> bytes) {
    std::uint8_t b[kSize] = {};
    for (std::size_t i = 0; i < kSize && i < bytes.size(); ++i)
        b[i] = bytes[i];
    TPlayOptions o;
    o.markDead = b[0] == 1 ? 1 : 0;
    o.shortestWalk = b[1] == 1 ? 1 : 0;
    o.solveSeconds = static_cast<std::int16_t>(b[2] | b[3] << 8);
    if (o.solveSeconds != kNoLimit && (o.solveSeconds < 1 || o.solveSeconds > 600))
        o.solveSeconds = kDefaultSeconds;
    o.animate = b[4] == 1 ? 1 : 0;
    return o;
}

TPlayOptions loadPlayOptions(const std::filesystem::path& file) {
    try {
        if (!isPlainFile(file)) return {};
        return TPlayOptions::decode(readPlainFile(file, TPlayOptions::kSize));
    } catch (const FileError&) {
        return {};
    }
}

void savePlayOptions(const std::filesystem::path& file, const TPlayOptions& options) {
    replaceFileContents(file, options.encode());
}

} // namespace sokoban
