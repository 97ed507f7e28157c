#include "convert.h"

#include "record_file.h"

#include <system_error>

namespace sokoban {

std::int16_t convertOldManIndex(std::int16_t w) {
    const int row = w / kOldCols, col = w % kOldCols;
    const int index = (row + kOldRowShift) * kCols + col + kOldColShift;
    return static_cast<std::int16_t>(index);
}

TMazeData convertOldLevel(std::span<const std::uint8_t> oldRecord) {
    TMazeData m;
    m.man = convertOldManIndex(readI16(oldRecord.data()));
    const std::uint8_t* cells = oldRecord.data() + 2;
    for (int r = 0; r < kOldRows; ++r)
        for (int k = 0; k < kOldCols; ++k)
            m.cells[static_cast<std::size_t>((r + kOldRowShift) * kCols + k + kOldColShift)] =
                cells[r * kOldCols + k];
    return m;
}

Bytes convertOldLevelSet(std::span<const std::uint8_t> oldFile) {
    const std::size_t count = oldFile.size() / kOldLevelSize;
    Bytes out;
    out.reserve(count * TMazeData::kSize);
    for (std::size_t k = 0; k < count; ++k) {
        const Bytes b = convertOldLevel(oldFile.subspan(k * kOldLevelSize, kOldLevelSize)).encode();
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

std::filesystem::path conversionWorkFile(const std::filesystem::path& file) {
    // A file that is itself called newnew.box must not be emptied before it is read.
    const char* name = file.filename() == "newnew.box" ? "newnew1.box" : "newnew.box";
    return file.parent_path() / name;
}

int convertLevelSetFile(const std::filesystem::path& file) {
    const RecordFile oldFile(file, kOldLevelSize);
    const RecordFile work(conversionWorkFile(file), TMazeData::kSize);
    const std::int64_t count = oldFile.count();
    work.create();
    for (std::int64_t k = 0; k < count; ++k)
        work.put(k, convertOldLevel(oldFile.read(k)));
    // Renaming over the original replaces it in one step: there is never a
    // moment without the level set on disk.
    std::error_code ec;
    std::filesystem::rename(work.path(), file, ec);
    if (ec) throw FileError(file, ec.message());
    return static_cast<int>(count);
}

} // namespace sokoban
