#include "xsb.h"

#include "board.h"
#include "file_error.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace sokoban {

namespace {

constexpr std::uint8_t kNotXsb = 0xff;

// Cell code of every byte; kNotXsb for bytes that spoil a level row.
constexpr std::array<std::uint8_t, 256> makeCodeTable() {
    std::array<std::uint8_t, 256> t{};
    t.fill(kNotXsb);
    t['#'] = kWall;
    t[' '] = kFloor;
    t['.'] = kTarget;
    t['$'] = kBox;
    t['*'] = kBoxOnTarget;
    t['@'] = kFloor;
    t['+'] = kTarget;
    return t;
}
constexpr auto kCodeOf = makeCodeTable();

bool lineEnd(char c) {
    return c == '\n' || c == '\r';
}

using Grid = std::array<std::array<std::uint8_t, kCols>, kRows>;
using Flags = std::array<std::array<bool, kCols>, kRows>;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

void XsbScanner::feed(std::string_view bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end && !tooBig_) {
        if (!lineValid_) {
            // Nothing more of this line matters.
            while (p < end && !lineEnd(*p))
                ++p;
            if (p == end) return;
        }
        const char c = *p++;
        if (lineEnd(c)) {
            endLine();
        } else if (kCodeOf[static_cast<unsigned char>(c)] == kNotXsb) {
            lineValid_ = false;
        } else if (lineLength_ < kCols) {
            if (rowCount_ < kRows)
                rows_[static_cast<std::size_t>(rowCount_)][static_cast<std::size_t>(lineLength_)] =
                    c;
            ++lineLength_;
        } else {
            // Too long for a row, but a later byte may still make it a line
            // to skip, so keep scanning without storing.
            lineLength_ = kCols + 1;
        }
    }
}

void XsbScanner::endLine() {
    if (lineValid_ && lineLength_ > 0) {
        if (lineLength_ > kCols || rowCount_ == kRows)
            tooBig_ = true;
        else
            lengths_[static_cast<std::size_t>(rowCount_++)] = lineLength_;
    }
    lineLength_ = 0;
    lineValid_ = true;
}

XsbResult XsbScanner::finish() {
    endLine();
    XsbResult result;
    if (tooBig_) {
        result.status = XsbStatus::TooBig;
        return result;
    }
    const int height = rowCount_;
    int width = 0;
    for (int r = 0; r < height; ++r)
        width = std::max(width, lengths_[static_cast<std::size_t>(r)]);

    // Translate; positions past the end of a short row stay outside.
    Grid code{};
    int manRow = 0, manCol = 0;
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < lengths_[static_cast<std::size_t>(r)]; ++k) {
            const char c = rows_[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)];
            code[r][k] = kCodeOf[static_cast<unsigned char>(c)];
            if (c == '@' || c == '+') {
                manRow = r;
                manCol = k;
            }
        }

    // Floor belongs outside when a straight run of floor leads from it to
    // the edge of the text in any direction. The runs are taken over the
    // translated grid only, so a cell turned outside opens no way for others.
    const auto floor = [&](int r, int k) { return code[r][k] == kFloor; };
    Flags left{}, right{}, up{}, down{};
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < width; ++k) {
            left[r][k] = floor(r, k) && (k == 0 || left[r][k - 1]);
            up[r][k] = floor(r, k) && (r == 0 || up[r - 1][k]);
        }
    for (int r = height - 1; r >= 0; --r)
        for (int k = width - 1; k >= 0; --k) {
            right[r][k] = floor(r, k) && (k == width - 1 || right[r][k + 1]);
            down[r][k] = floor(r, k) && (r == height - 1 || down[r + 1][k]);
        }

    const int rowOffset = (kRows - height) / 2;
    const int colOffset = (kCols - width) / 2;
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < width; ++k) {
            const bool outside = left[r][k] || right[r][k] || up[r][k] || down[r][k];
            result.maze.cells[static_cast<std::size_t>((r + rowOffset) * kCols + k + colOffset)] =
                outside ? std::uint8_t{kOutside} : code[r][k];
        }
    result.maze.man = static_cast<std::int16_t>((manRow + rowOffset) * kCols + manCol + colOffset);
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

std::string writeXsb(const TMazeData& level) {
    static constexpr char kCharOf[] = {' ', '#', ' ', '.', '$', '*'};
    const BoundingBox box = boundingBox(level.cells);
    std::string out;
    for (int r = box.top; r <= box.bottom; ++r) {
        for (int c = box.left; c <= box.right; ++c) {
            const int i = r * kCols + c;
            const std::uint8_t code = level.cells[static_cast<std::size_t>(i)];
            if (code > kBoxOnTarget) continue; // not a cell code: nothing to write
            char ch = kCharOf[code];
            if (i == level.man && code == kFloor) ch = '@';
            if (i == level.man && code == kTarget) ch = '+';
            out += ch;
        }
        out += "\r\n";
    }
    return out;
}

void saveXsb(const std::filesystem::path& path, const TMazeData& level) {
    const std::string text = writeXsb(level);
    std::FILE* raw = std::fopen(path.c_str(), "wb");
    if (!raw) throw FileError(path, std::strerror(errno));
    std::unique_ptr<std::FILE, FileCloser> file(raw);
    if (std::fwrite(text.data(), 1, text.size(), raw) != text.size())
        throw FileError(path, std::strerror(errno));
    if (std::fclose(file.release()) != 0) throw FileError(path, std::strerror(errno));
}

std::string xsbFileName(const std::string& gameName, int level) {
    const std::string number = std::to_string(level);
    const std::size_t zeros = number.size() < 4 ? 4 - number.size() : 0;
    return gameName + std::string(zeros, '0') + number + ".xsb";
}

} // namespace sokoban
