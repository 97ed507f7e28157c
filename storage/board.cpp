#include "board.h"

#include <algorithm>
#include <cstdlib>

namespace sokoban {

BoundingBox boundingBox(const Cells& cells) {
    BoundingBox b;
    bool any = false;
    for (int i = 0; i < kCells; ++i) {
        if (cells[static_cast<std::size_t>(i)] == kOutside) continue;
        const int r = i / kCols, c = i % kCols;
        if (!any) {
            b = {r, c, r, c};
            any = true;
        } else {
            b.top = std::min(b.top, r);
            b.bottom = std::max(b.bottom, r);
            b.left = std::min(b.left, c);
            b.right = std::max(b.right, c);
        }
    }
    return b;
}

int normaliseBoard(Cells& cells, const BoundingBox& box) {
    const int shift = box.top * kCols + box.left;
    if (shift == 0) return 0;
    Cells out{};
    for (int r = box.top; r <= box.bottom; ++r)
        for (int c = box.left; c <= box.right; ++c) {
            const int i = r * kCols + c;
            out[static_cast<std::size_t>(i - shift)] = cells[static_cast<std::size_t>(i)];
        }
    cells = out;
    return shift;
}

BoardLayout fitBoard(int ww, int wh, int bar, int mazeWidth, int mazeHeight, bool fixedSize) {
    BoardLayout l;
    if (mazeWidth <= 0 || mazeHeight <= 0) return l;
    const int a = (ww - 8) / mazeWidth;
    const int b = (wh - bar - 65) / mazeHeight;
    l.cellSize = std::min(a, b);
    if (l.cellSize < 1) l.cellSize = 1;
    if (fixedSize && l.cellSize > 30) l.cellSize = 30;
    l.originRow = (std::abs(wh - bar - 65 - l.cellSize * mazeHeight) / l.cellSize) / 2;
    l.originCol = (std::abs(ww - 8 - l.cellSize * mazeWidth) / l.cellSize) / 2;
    return l;
}

int cellAt(const BoardLayout& l, int x, int y) {
    if (l.cellSize <= 0 || x < 0 || y < 0) return -1;
    const int c = x / l.cellSize - l.originCol;
    const int r = y / l.cellSize - l.originRow;
    if (r < 0 || r >= kRows || c < 0 || c >= kCols) return -1;
    return r * kCols + c;
}

} // namespace sokoban
