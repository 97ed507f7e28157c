#include "session/mouse_walk.h"

#include <algorithm>

namespace sokoban {

bool MouseWalk::setPath(int start, const std::vector<std::uint8_t>& codes, int cols, int capacity) {
    static const char* const words[4] = {"up", "down", "left", "right"};
    if (codes.size() > static_cast<std::size_t>(std::max(capacity, 0))) return false;
    const int steps[4] = {-cols, cols, -1, 1};
    walkCount = static_cast<int>(codes.size());
    // An empty walk still reads its first step, as the walk timer always did.
    walkPath.assign(std::max<std::size_t>(codes.size(), 1), PathStep{});
    int cell = start;
    for (int i = 0; i < walkCount; ++i) {
        const int code = codes[static_cast<std::size_t>(i)] & 3;
        walkPath[static_cast<std::size_t>(i)] = {i, cell, words[code]};
        cell += steps[code];
    }
    return true;
}

void MouseWalk::begin(int interval) {
    walkInterval = interval;
    walkIndex = 0;
    walking = true;
}

} // namespace sokoban
