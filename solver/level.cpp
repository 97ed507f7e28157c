#include "level.h"

#include <algorithm>
#include <string_view>

namespace sokoban::solver {

namespace {

bool passable(std::uint8_t code) {
    return code >= kFloor && code <= kBoxOnTarget;
}

} // namespace

LevelOrError levelFromMaze(const TMazeData& maze) {
    LevelOrError out;
    Level& lv = out.level;
    lv.rows = kRows;
    lv.cols = kCols;
    lv.cells.assign(maze.cells.begin(), maze.cells.end());
    for (std::uint8_t code : lv.cells) {
        if (code > kBoxOnTarget) {
            out.error = "unknown cell code " + std::to_string(code);
            return out;
        }
    }
    if (maze.man < 0 || maze.man >= kCells) {
        out.error = "no worker (worker square " + std::to_string(maze.man) + " is off the board)";
        return out;
    }
    if (lv.cells[maze.man] != kFloor && lv.cells[maze.man] != kTarget) {
        out.error = "no worker (worker square " + std::to_string(maze.man) + " is not free floor)";
        return out;
    }
    lv.man = maze.man;
    return out;
}

LevelOrError levelFromXsb(const std::vector<std::string>& rows) {
    LevelOrError out;
    Level& lv = out.level;
    if (rows.empty()) {
        out.error = "empty level";
        return out;
    }
    std::size_t width = 0;
    for (const auto& r : rows)
        width = std::max(width, r.size());
    if (rows.size() > kMaxSide || width > kMaxSide) {
        out.error = "larger than " + std::to_string(kMaxSide) + " x " + std::to_string(kMaxSide);
        return out;
    }
    lv.rows = static_cast<int>(rows.size());
    lv.cols = static_cast<int>(width);
    lv.cells.assign(static_cast<std::size_t>(lv.rows) * lv.cols, kOutside);
    std::vector<bool> drawn(lv.cells.size(), false);
    int workers = 0;
    for (int r = 0; r < lv.rows; ++r) {
        const std::string& row = rows[r];
        for (int c = 0; c < static_cast<int>(row.size()); ++c) {
            std::uint8_t code = kFloor;
            switch (row[c]) {
            case '#':
                code = kWall;
                break;
            case '.':
                code = kTarget;
                break;
            case '$':
                code = kBox;
                break;
            case '*':
                code = kBoxOnTarget;
                break;
            case '@':
                code = kFloor;
                break;
            case '+':
                code = kTarget;
                break;
            case ' ':
            case '-':
            case '_':
                code = kFloor;
                break;
            default:
                out.error = std::string("unexpected character '") + row[c] + "'";
                return out;
            }
            if (row[c] == '@' || row[c] == '+') {
                ++workers;
                lv.man = r * lv.cols + c;
            }
            lv.cells[r * lv.cols + c] = code;
            drawn[r * lv.cols + c] = true;
        }
    }
    if (workers == 0) {
        out.error = "no worker";
        return out;
    }
    if (workers > 1) {
        out.error = std::to_string(workers) + " workers";
        lv.man = -1;
        return out;
    }
    // Walk from the worker through everything but walls; reaching a square
    // that is not drawn, or the edge of the drawing, means the level is open.
    std::vector<int> stack{lv.man};
    std::vector<bool> seen(lv.cells.size(), false);
    seen[lv.man] = true;
    while (!stack.empty()) {
        int p = stack.back();
        stack.pop_back();
        int r = p / lv.cols, c = p % lv.cols;
        for (int d = 0; d < 4; ++d) {
            int nr = r + kDRow[d], nc = c + kDCol[d];
            int q = nr * lv.cols + nc;
            if (nr < 0 || nc < 0 || nr >= lv.rows || nc >= lv.cols || !drawn[q]) {
                out.error = "open edge: the worker can walk off the level at row " +
                            std::to_string(r + 1) + ", column " + std::to_string(c + 1);
                return out;
            }
            if (!seen[q] && passable(lv.cells[q])) {
                seen[q] = true;
                stack.push_back(q);
            }
        }
    }
    return out;
}

std::vector<std::string> levelToXsb(const Level& level) {
    std::vector<std::string> rows;
    for (int r = 0; r < level.rows; ++r) {
        std::string s;
        for (int c = 0; c < level.cols; ++c) {
            int p = r * level.cols + c;
            bool man = p == level.man;
            switch (level.cells[p]) {
            case kWall:
                s += '#';
                break;
            case kTarget:
                s += man ? '+' : '.';
                break;
            case kBox:
                s += '$';
                break;
            case kBoxOnTarget:
                s += '*';
                break;
            case kFloor:
                s += man ? '@' : ' ';
                break;
            default:
                s += ' ';
                break;
            }
        }
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        rows.push_back(std::move(s));
    }
    return rows;
}

std::vector<TextLevel> splitTextLevels(std::istream& in) {
    constexpr std::string_view kLevelChars = "#@+$*. -_";
    std::vector<TextLevel> levels;
    std::streambuf* buf = in.rdbuf();
    bool inLevel = false;
    int lineNo = 0;
    std::string line;
    bool eof = false;
    while (!eof) {
        // Read one line, keeping at most kMaxSide + 1 characters of it.
        line.clear();
        std::size_t length = 0;
        bool levelChars = true;
        bool hasWall = false;
        bool any = false;
        for (;;) {
            int ch = buf ? buf->sbumpc() : std::char_traits<char>::eof();
            if (ch == std::char_traits<char>::eof()) {
                eof = true;
                break;
            }
            any = true;
            if (ch == '\n') break;
            if (length < kMaxSide + 2) line += static_cast<char>(ch);
            ++length;
        }
        if (eof && !any) break;
        ++lineNo;
        if (!line.empty() && line.back() == '\r' && length <= kMaxSide + 2) {
            line.pop_back();
            --length;
        }
        bool tooWide = length > kMaxSide;
        if (tooWide) line.resize(kMaxSide + 1);
        for (char ch : line) {
            if (kLevelChars.find(ch) == std::string_view::npos) levelChars = false;
            if (ch == '#') hasWall = true;
        }
        // A cut-off line counts as a level line only if what was kept is.
        if (!levelChars || !hasWall) {
            inLevel = false;
            continue;
        }
        if (!inLevel) {
            levels.push_back({});
            levels.back().firstLine = lineNo;
            inLevel = true;
        }
        TextLevel& lv = levels.back();
        lv.tooWide = lv.tooWide || tooWide;
        if (lv.rows.size() < kMaxSide + 1)
            lv.rows.push_back(line);
        else
            lv.tooTall = true;
    }
    return levels;
}

} // namespace sokoban::solver
