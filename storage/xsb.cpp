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
            if (rows_.count < kRows)
                rows_.text[static_cast<std::size_t>(rows_.count)]
                          [static_cast<std::size_t>(lineLength_)] = c;
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
        if (lineLength_ > kCols || rows_.count == kRows)
            tooBig_ = true;
        else
            rows_.length[static_cast<std::size_t>(rows_.count++)] = lineLength_;
    }
    lineLength_ = 0;
    lineValid_ = true;
}

XsbResult XsbScanner::finish() {
    endLine();
    XsbResult result;
    if (tooBig_)
        result.status = XsbStatus::TooBig;
    else
        result.maze = buildXsbLevel(rows_, OutsideRule::StraightRuns);
    return result;
}

TMazeData buildXsbLevel(const XsbRows& rows, OutsideRule rule) {
    const int height = std::clamp(rows.count, 0, kRows);
    int width = 0;
    for (int r = 0; r < height; ++r)
        width = std::max(width, std::clamp(rows.length[static_cast<std::size_t>(r)], 0, kCols));

    // Translate; positions past the end of a short row stay outside.
    Grid code{};
    int manRow = 0, manCol = 0;
    bool hasMan = false;
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < std::min(rows.length[static_cast<std::size_t>(r)], kCols); ++k) {
            const char c = rows.text[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)];
            const std::uint8_t v = kCodeOf[static_cast<unsigned char>(c)];
            code[r][k] = v == kNotXsb ? std::uint8_t{kOutside} : v;
            if (c == '@' || c == '+') {
                manRow = r;
                manCol = k;
                hasMan = true;
            }
        }

    Flags outside{};
    if (rule == OutsideRule::StraightRuns) {
        // Floor belongs outside when a straight run of floor leads from it to
        // the edge of the text in any direction. The runs are taken over the
        // translated grid only, so a cell turned outside opens no way for
        // others.
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
        for (int r = 0; r < height; ++r)
            for (int k = 0; k < width; ++k)
                outside[r][k] = left[r][k] || right[r][k] || up[r][k] || down[r][k];
    } else {
        // Spread from every open cell of the edge through blank floor and the
        // gaps past short rows; the worker's own cell stays in the level.
        const auto open = [&](int r, int k) {
            return (code[r][k] == kFloor || code[r][k] == kOutside) &&
                   !(hasMan && r == manRow && k == manCol);
        };
        std::array<int, kCells> stack; // every cell enters at most once
        int top = 0;
        const auto visit = [&](int r, int k) {
            if (r < 0 || r >= height || k < 0 || k >= width) return;
            if (outside[r][k] || !open(r, k)) return;
            outside[r][k] = true;
            stack[static_cast<std::size_t>(top++)] = r * kCols + k;
        };
        for (int r = 0; r < height; ++r) {
            visit(r, 0);
            visit(r, width - 1);
        }
        for (int k = 0; k < width; ++k) {
            visit(0, k);
            visit(height - 1, k);
        }
        while (top > 0) {
            const int i = stack[static_cast<std::size_t>(--top)];
            const int r = i / kCols, k = i % kCols;
            visit(r - 1, k);
            visit(r + 1, k);
            visit(r, k - 1);
            visit(r, k + 1);
        }
    }

    TMazeData maze;
    const int rowOffset = (kRows - height) / 2;
    const int colOffset = (kCols - width) / 2;
    for (int r = 0; r < height; ++r)
        for (int k = 0; k < width; ++k)
            maze.cells[static_cast<std::size_t>((r + rowOffset) * kCols + k + colOffset)] =
                outside[r][k] ? std::uint8_t{kOutside} : code[r][k];
    maze.man = static_cast<std::int16_t>((manRow + rowOffset) * kCols + manCol + colOffset);
    return maze;
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
    if (!raw) throw FileError(path, systemReason(errno));
    std::unique_ptr<std::FILE, FileCloser> file(raw);
    if (std::fwrite(text.data(), 1, text.size(), raw) != text.size())
        throw FileError(path, systemReason(errno));
    if (std::fclose(file.release()) != 0) throw FileError(path, systemReason(errno));
}

std::string xsbFileName(const std::string& gameName, int level) {
    const std::string number = std::to_string(level);
    const std::size_t zeros = number.size() < 4 ? 4 - number.size() : 0;
    return gameName + std::string(zeros, '0') + number + ".xsb";
}

} // namespace sokoban
