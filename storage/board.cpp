#include "board.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace sokoban {

BoundingBox boundingBox(std::span<const std::uint8_t> cells, int cols) {
    BoundingBox b;
    if (cols <= 0) return b;
    bool any = false;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] == kOutside) continue;
        const int r = static_cast<int>(i) / cols, c = static_cast<int>(i) % cols;
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

BoundingBox boundingBox(const Cells& cells) {
    return boundingBox(std::span<const std::uint8_t>(cells), kCols);
}

int normaliseBoard(std::span<std::uint8_t> cells, int cols, const BoundingBox& box) {
    const int shift = box.top * cols + box.left;
    if (shift == 0) return 0;
    std::vector<std::uint8_t> out(cells.size(), kOutside);
    for (int r = box.top; r <= box.bottom; ++r)
        for (int c = box.left; c <= box.right; ++c) {
            const int i = r * cols + c;
            out[static_cast<std::size_t>(i - shift)] = cells[static_cast<std::size_t>(i)];
        }
    std::copy(out.begin(), out.end(), cells.begin());
    return shift;
}

int normaliseBoard(Cells& cells, const BoundingBox& box) {
    return normaliseBoard(std::span<std::uint8_t>(cells), kCols, box);
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

int cellAt(const BoardLayout& l, int x, int y, int rows, int cols) {
    if (l.cellSize <= 0 || x < 0 || y < 0) return -1;
    const int c = x / l.cellSize - l.originCol;
    const int r = y / l.cellSize - l.originRow;
    if (r < 0 || r >= rows || c < 0 || c >= cols) return -1;
    return r * cols + c;
}

} // namespace sokoban
