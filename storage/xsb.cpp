#include "xsb.h"

#include "board.h"
#include "file_error.h"
#include "maze_board.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace sokoban {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

XsbResult XsbScanner::finish() {
    reader_.finish();
    XsbResult result;
    switch (reader_.status(kRows, kCols)) {
    case core::TextStatus::TooBig:
        result.status = XsbStatus::TooBig;
        break;
    case core::TextStatus::NoLevel:
        // Not an error: the empty level, centred.
        result.maze = centredMaze(core::Board{});
        break;
    case core::TextStatus::Ok:
        result.maze = centredMaze(reader_.first()->board(kCols));
        break;
    }
    return result;
}

XsbResult parseXsb(std::string_view text) {
    XsbScanner scanner;
    scanner.feed(text);
    return scanner.finish();
}

XsbResult readXsb(const std::filesystem::path& path) {
    XsbResult result;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        result.status = XsbStatus::Missing;
        return result;
    }
    // A directory, a pipe or a device could block or never end: only plain
    // files are read.
    result.status = XsbStatus::ReadError;
    if (status.type() != std::filesystem::file_type::regular) return result;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return result;

    XsbScanner scanner;
    std::vector<char> buffer(64 * 1024);
    while (!scanner.tooBig()) {
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get());
        scanner.feed({buffer.data(), n});
        if (n < buffer.size()) {
            if (std::ferror(file.get())) return result;
            break;
        }
    }
    return scanner.finish();
}

std::string writeXsb(const core::Board& level) {
    static constexpr char kCharOf[] = {' ', '#', ' ', '.', '$', '*'};
    const BoundingBox box = boundingBox(level.cells, level.cols);
    std::string out;
    for (int r = box.top; r <= box.bottom; ++r) {
        for (int c = box.left; c <= box.right; ++c) {
            const int i = r * level.cols + c;
            const std::uint8_t code = level.at(i);
            if (code > kBoxOnTarget) continue; // not a cell code: nothing to write
            char ch = kCharOf[code];
            if (i == level.worker && code == kFloor) ch = '@';
            if (i == level.worker && code == kTarget) ch = '+';
            out += ch;
        }
        out += "\r\n";
    }
    return out;
}

std::string writeXsb(const TMazeData& level) {
    return writeXsb(boardOf(level));
}

namespace {

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::FILE* raw = std::fopen(path.c_str(), "wb");
    if (!raw) throw FileError(path, errno);
    std::unique_ptr<std::FILE, FileCloser> file(raw);
    if (std::fwrite(text.data(), 1, text.size(), raw) != text.size()) throw FileError(path, errno);
    if (std::fclose(file.release()) != 0) throw FileError(path, errno);
}

} // namespace

void saveXsb(const std::filesystem::path& path, const TMazeData& level) {
    writeText(path, writeXsb(level));
}

void saveXsb(const std::filesystem::path& path, const core::Board& level) {
    writeText(path, writeXsb(level));
}

std::string xsbFileName(const std::string& gameName, int level) {
    const std::string number = std::to_string(level);
    const std::size_t zeros = number.size() < 4 ? 4 - number.size() : 0;
    return gameName + std::string(zeros, '0') + number + ".xsb";
}

} // namespace sokoban
