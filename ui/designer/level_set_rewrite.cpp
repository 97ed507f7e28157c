#include "ui/designer/level_set_rewrite.h"

#include "storage/file_error.h"
#include "storage/safe_write.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

constexpr auto kLevelSize = static_cast<std::int64_t>(TMazeData::kSize);

[[noreturn]] void fail(const fs::path& p, int err) {
    throwSystemError(p, err);
}
[[noreturn]] void beyondEnd(const fs::path& p) {
    throw FileError(p, FileReason::ReadBeyondEnd);
}

Bytes readAll(const fs::path& file) {
    return readPlainFile(file);
}

// The set the player chose to edit is changed where it really lies: a link
// to it stays a link. (The game's own records are never written through a
// link; a level set is the player's document, opened by name.)
void replaceLevelSet(const fs::path& file, const Bytes& contents) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(file, ec))) {
        replaceFileContents(file, contents);
        return;
    }
    const fs::path real = fs::canonical(file, ec);
    if (ec) throw FileError(file, ec.value());
    try {
        replaceFileContents(real, contents);
    } catch (const FileError& e) {
        throw FileError(file, e);
    }
}

std::int64_t wholeLevels(const Bytes& all) {
    return static_cast<std::int64_t>(all.size()) / kLevelSize;
}

Bytes::iterator levelAt(Bytes& all, std::int64_t index) {
    return all.begin() + static_cast<std::ptrdiff_t>(index * kLevelSize);
}

} // namespace

int levelCountOf(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) fail(file, errno);
    if (!S_ISREG(st.st_mode)) fail(file, EINVAL);
    return static_cast<int>(std::min<std::int64_t>(st.st_size / kLevelSize, INT32_MAX));
}

TMazeData readLevelOf(const fs::path& file, int index) {
    // Only the one level: a preview in a huge set costs what one in a small set does.
    const PlainFile f(file, O_RDONLY);
    if (index < 0 || static_cast<std::int64_t>(f.size()) / kLevelSize <= index) beyondEnd(file);
    Bytes record(static_cast<std::size_t>(kLevelSize));
    const auto offset = static_cast<std::uint64_t>(index) * TMazeData::kSize;
    if (f.readAt(record.data(), record.size(), offset) != record.size()) beyondEnd(file);
    return TMazeData::decode(record);
}

void exchangeLevels(const fs::path& file, int i, int j) {
    Bytes all = readAll(file);
    const std::int64_t n = wholeLevels(all);
    if (i < 0 || j < 0 || i >= n || j >= n) beyondEnd(file);
    if (i == j) return;
    std::swap_ranges(levelAt(all, i), levelAt(all, i + 1), levelAt(all, j));
    replaceLevelSet(file, all);
}

void DeleteRecord(const fs::path& file, int n) {
    std::error_code ec;
    if (file.empty() || !fs::exists(file, ec)) return;
    Bytes all = readAll(file);
    const std::int64_t m = wholeLevels(all);
    if (n < 1 || n > m) beyondEnd(file);
    all.erase(levelAt(all, n - 1), levelAt(all, n));
    all.resize(static_cast<std::size_t>((m - 1) * kLevelSize));
    replaceLevelSet(file, all);
}

void appendLevel(const fs::path& file, const TMazeData& level) {
    Bytes all = readAll(file);
    all.resize(static_cast<std::size_t>(wholeLevels(all) * kLevelSize));
    const Bytes record = level.encode();
    all.insert(all.end(), record.begin(), record.end());
    replaceLevelSet(file, all);
}

void putLevel(const fs::path& file, int index, const TMazeData& level) {
    Bytes all = readAll(file);
    const std::int64_t n = wholeLevels(all);
    if (index < 0 || index > n) beyondEnd(file);
    const Bytes record = level.encode();
    if (index == n) {
        all.resize(static_cast<std::size_t>(n * kLevelSize));
        all.insert(all.end(), record.begin(), record.end());
    } else {
        std::copy(record.begin(), record.end(), levelAt(all, index));
    }
    replaceLevelSet(file, all);
}

void copyLevelSet(const fs::path& from, const fs::path& to) {
    replaceLevelSet(to, readAll(from));
}

} // namespace sokoban
