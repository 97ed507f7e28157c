#include "core/symmetry.h"

#include "core/paths.h"

#include <algorithm>
#include <utility>

namespace sokoban::core {

namespace {

std::pair<int, int> mapped(int rows, int cols, int r, int c, int t) {
    if (t & 2) r = rows - 1 - r;
    if (t & 4) c = cols - 1 - c;
    if (t & 1) std::swap(r, c);
    return {r, c};
}

} // namespace

int transformedCell(const Board& board, int cell, int t) {
    if (!board.contains(cell)) return -1;
    const auto [r, c] = mapped(board.rows, board.cols, board.rowOf(cell), board.colOf(cell), t);
    return r * ((t & 1) ? board.rows : board.cols) + c;
}

Board transformed(const Board& board, int t) {
    Board out = (t & 1) ? Board(board.cols, board.rows) : Board(board.rows, board.cols);
    for (int i = 0; i < board.size(); ++i)
        out.set(transformedCell(board, i, t), board.at(i));
    out.worker = transformedCell(board, board.worker, t);
    return out;
}

std::string canonicalForm(const Board& board) {
    const std::vector<bool> area = reach(board, board.worker, Walk::ThroughBoxes);
    const std::vector<bool> walk = reach(board, board.worker, Walk::AroundBoxes);
    // One character per cell: '#' for what nobody enters, the worker's
    // region as '@' (floor) and '+' (target).
    std::string code(static_cast<std::size_t>(board.size()), '#');
    int top = board.rows, bottom = -1, left = board.cols, right = -1;
    for (int i = 0; i < board.size(); ++i) {
        const std::uint8_t c = board.at(i);
        const auto k = static_cast<std::size_t>(i);
        char ch = '#';
        if (isBox(c) || isTarget(c) || (area[k] && c == kFloor)) {
            static constexpr char kChar[] = {'#', '#', ' ', '.', '$', '*'};
            ch = kChar[c];
            if (walk[k] && c == kFloor) ch = '@';
            if (walk[k] && c == kTarget) ch = '+';
        }
        if (ch == '#') continue;
        code[k] = ch;
        top = std::min(top, board.rowOf(i));
        bottom = std::max(bottom, board.rowOf(i));
        left = std::min(left, board.colOf(i));
        right = std::max(right, board.colOf(i));
    }
    if (bottom < 0) return "0x0:";
    Board cut(bottom - top + 1, right - left + 1);
    for (int r = 0; r < cut.rows; ++r)
        for (int c = 0; c < cut.cols; ++c)
            cut.set(cut.cellAt(r, c),
                    static_cast<std::uint8_t>(
                        code[static_cast<std::size_t>(board.cellAt(top + r, left + c))]));
    std::string best;
    for (int t = 0; t < kSymmetries; ++t) {
        const Board turned = transformed(cut, t);
        std::string s = std::to_string(turned.rows) + "x" + std::to_string(turned.cols) + ":";
        s.append(turned.cells.begin(), turned.cells.end());
        if (best.empty() || s < best) best = std::move(s);
    }
    return best;
}

} // namespace sokoban::core
