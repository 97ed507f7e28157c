#include "hard_level_polish.h"

#include "generator.h"
#include "level_checks.h"

namespace sokoban::hardlevels {

core::Board wallInIdleBoxes(const core::Board& level, const std::string& lurd, int& walled) {
    const levelcheck::Replay played = levelcheck::replay(level, lurd);
    core::Board out = level;
    for (int cell : played.idleBoxCells)
        out.set(cell, core::kWall);
    walled = played.idleBoxes;
    return solver::finished(out);
}

core::Board fillUnusedDeadEnds(const core::Board& level, const std::string& lurd) {
    const levelcheck::Replay played = levelcheck::replay(level, lurd);
    core::Board out = level;
    std::vector<bool> keep = played.visited;
    keep.resize(static_cast<std::size_t>(out.size()), false);
    solver::fillDeadEnds(out, keep);
    return solver::finished(out);
}

core::Board wallInUnusedFloor(const core::Board& level, const std::string& lurd) {
    const levelcheck::Replay played = levelcheck::replay(level, lurd);
    core::Board out = level;
    for (int i = 0; i < out.size(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (out.at(i) == core::kFloor && k < played.used.size() && !played.used[k])
            out.set(i, core::kWall);
    }
    return solver::finished(out);
}

} // namespace sokoban::hardlevels
