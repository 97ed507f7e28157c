#include "session/mouse_walk.h"

namespace sokoban {

bool MouseWalk::setPath(int start, const std::vector<std::uint8_t>& codes) {
    static const char* const words[4] = {"up", "down", "left", "right"};
    static const int steps[4] = {-kCols, kCols, -1, 1};
    if (codes.size() > walkPath.size()) return false;
    walkCount = static_cast<int>(codes.size());
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
