#include "core/board.h"

#include <algorithm>

namespace sokoban::core {

Board::Board(int r, int c)
    : rows(std::clamp(r, 0, kMaxSide)), cols(std::clamp(c, 0, kMaxSide)),
      cells(static_cast<std::size_t>(rows * cols), kOutside) {}

int Board::neighbour(int cell, int d) const {
    if (!contains(cell) || d < 0 || d > 3) return -1;
    const int r = rowOf(cell) + kDRow[d], c = colOf(cell) + kDCol[d];
    if (r < 0 || c < 0 || r >= rows || c >= cols) return -1;
    return cellAt(r, c);
}

int Board::boxCount() const {
    return static_cast<int>(std::count_if(cells.begin(), cells.end(), isBox));
}

int Board::targetCount() const {
    return static_cast<int>(std::count_if(cells.begin(), cells.end(), isTarget));
}

Board fromXsbRows(const std::vector<std::string>& rows) {
    std::size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.size());
    Board b(static_cast<int>(rows.size()), static_cast<int>(width));
    for (int r = 0; r < b.rows; ++r) {
        const std::string& row = rows[static_cast<std::size_t>(r)];
        const int n = std::min(b.cols, static_cast<int>(row.size()));
        for (int c = 0; c < n; ++c) {
            std::uint8_t code = kOutside;
            switch (row[static_cast<std::size_t>(c)]) {
            case '#':
                code = kWall;
                break;
            case ' ':
            case '-':
            case '_':
            case '@':
                code = kFloor;
                break;
            case '.':
            case '+':
                code = kTarget;
                break;
            case '$':
                code = kBox;
                break;
            case '*':
                code = kBoxOnTarget;
                break;
            default:
                break;
            }
            const char ch = row[static_cast<std::size_t>(c)];
            if (ch == '@' || ch == '+') b.worker = b.cellAt(r, c);
            b.set(b.cellAt(r, c), code);
        }
    }
    return b;
}

std::vector<std::string> toXsbRows(const Board& board) {
    static constexpr char kCharOf[] = {' ', '#', ' ', '.', '$', '*'};
    std::vector<std::string> rows;
    for (int r = 0; r < board.rows; ++r) {
        std::string s;
        for (int c = 0; c < board.cols; ++c) {
            const int cell = board.cellAt(r, c);
            const std::uint8_t code = board.at(cell);
            char ch = code <= kBoxOnTarget ? kCharOf[code] : ' ';
            if (cell == board.worker && code == kFloor) ch = '@';
            if (cell == board.worker && code == kTarget) ch = '+';
            s += ch;
        }
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        rows.push_back(std::move(s));
    }
    return rows;
}

} // namespace sokoban::core
