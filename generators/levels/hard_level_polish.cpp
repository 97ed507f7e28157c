#include "hard_level_polish.h"

#include "generator.h"
#include "level_checks.h"

#include "core/lurd.h"
#include "core/paths.h"
#include "core/rules.h"

#include <algorithm>
#include <unordered_map>

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

namespace {

// The boxes and the least cell of the worker's area: positions the same for
// every play from here on.
std::string positionKey(const core::Board& b) {
    const std::vector<bool> area = core::reach(b, b.worker);
    const auto least = std::find(area.begin(), area.end(), true) - area.begin();
    std::string key;
    for (int i = 0; i < b.size(); ++i)
        key += core::isBox(b.at(i)) ? '1' : '0';
    return key + ":" + std::to_string(least);
}

} // namespace

std::string withoutDetours(const core::Board& level, const std::string& lurd) {
    if (!levelcheck::replay(level, lurd).solved) return lurd;
    // The pushes (box cell and direction) and the position before each.
    struct Push {
        int box;
        core::Dir dir;
    };
    std::vector<Push> pushes;
    std::vector<std::string> keys;
    core::Board b = level;
    for (const core::LurdMove& m : core::parseLurd(lurd).moves) {
        const core::MoveOutcome o = core::tryMove(b, m.dir);
        if (o.kind == core::MoveKind::Push) {
            keys.push_back(positionKey(b));
            pushes.push_back({o.boxFrom, m.dir});
        }
        core::apply(b, m.dir);
    }
    keys.push_back(positionKey(b));
    std::unordered_map<std::string, std::size_t> last;
    for (std::size_t i = 0; i < keys.size(); ++i)
        last[keys[i]] = i;
    // From each position on, jump to the last time the play is there.
    core::Moves moves;
    core::Board play = level;
    for (std::size_t i = last[keys[0]]; i < pushes.size(); i = last[keys[i + 1]]) {
        const Push& p = pushes[i];
        const int stand = play.neighbour(p.box, p.dir ^ 1);
        const auto walk = core::shortestWalk(play, play.worker, stand);
        if (!walk) return lurd;
        for (const auto step : *walk)
            core::apply(play, static_cast<core::Dir>(step));
        if (core::apply(play, p.dir).kind != core::MoveKind::Push) return lurd;
        moves.insert(moves.end(), walk->begin(), walk->end());
        moves.push_back(static_cast<std::uint8_t>(p.dir));
    }
    const std::string shorter = core::lurdOf(level, moves);
    return levelcheck::replay(level, shorter).solved ? shorter : lurd;
}

} // namespace sokoban::hardlevels
