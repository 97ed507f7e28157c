#include "level_checks.h"

#include "human_measures.h"

#include "core/lurd.h"
#include "core/paths.h"
#include "core/rules.h"
#include "core/symmetry.h"

#include <fstream>
#include <stdexcept>

namespace sokoban::levelcheck {

const char* const kSetNames[5] = {"easy", "game", "normal", "veryhard", "impossible"};

Shape shapeOf(const core::Board& board) {
    Shape s;
    s.width = board.cols;
    s.height = board.rows;
    s.boxes = board.boxCount();
    const std::vector<bool> in = core::reach(board, board.worker, core::Walk::ThroughBoxes);
    for (int i = 0; i < board.size(); ++i) {
        const std::uint8_t c = board.at(i);
        if (in[static_cast<std::size_t>(i)])
            ++s.floorArea;
        else if (c != core::kWall && c != core::kOutside)
            ++s.unreachable;
    }
    return s;
}

Replay replay(const core::Board& start, const std::string& lurd) {
    Replay r;
    core::Board board = start;
    if (!board.contains(board.worker) || !core::isFree(board.at(board.worker))) {
        r.error = "no worker";
        return r;
    }
    // Each box keeps its number wherever it is pushed.
    std::vector<int> boxAt(static_cast<std::size_t>(board.size()), -1);
    int boxes = 0;
    for (int i = 0; i < board.size(); ++i)
        if (core::isBox(board.at(i))) boxAt[static_cast<std::size_t>(i)] = boxes++;
    const std::vector<int> boxAt0 = boxAt;
    std::vector<int> pushesOf(static_cast<std::size_t>(boxes), 0);
    int lastBox = -1;
    r.visited.assign(static_cast<std::size_t>(board.size()), false);
    r.visited[static_cast<std::size_t>(board.worker)] = true;
    r.used = r.visited;
    for (int i = 0; i < board.size(); ++i)
        if (core::isBox(board.at(i))) r.used[static_cast<std::size_t>(i)] = true;

    const core::LurdParse parsed = core::parseLurd(lurd);
    for (const core::LurdMove& m : parsed.moves) {
        const std::string where = "move " + std::to_string(r.moves + 1) + ": ";
        const core::MoveOutcome next = core::tryMove(board, m.dir);
        if (next.kind == core::MoveKind::Blocked) {
            r.error = where + (core::isBox(board.at(next.obstacle)) ? "box is blocked"
                                                                    : "walks into a wall");
            break;
        }
        if (next.kind == core::MoveKind::Step && m.push) {
            r.error = where + "push letter for a plain step";
            break;
        }
        if (next.kind == core::MoveKind::Push && !m.push) {
            r.error = where + "step letter for a push";
            break;
        }
        core::apply(board, m.dir);
        r.visited[static_cast<std::size_t>(board.worker)] = true;
        r.used[static_cast<std::size_t>(board.worker)] = true;
        if (next.kind == core::MoveKind::Push) {
            r.used[static_cast<std::size_t>(next.boxTo)] = true;
            const int box = boxAt[static_cast<std::size_t>(next.boxFrom)];
            boxAt[static_cast<std::size_t>(next.boxTo)] = box;
            boxAt[static_cast<std::size_t>(next.boxFrom)] = -1;
            ++pushesOf[static_cast<std::size_t>(box)];
            if (lastBox >= 0 && box != lastBox) ++r.boxChanges;
            lastBox = box;
            ++r.pushes;
        }
        ++r.moves;
    }
    if (r.error.empty() && parsed.error != core::LurdError::None)
        r.error = "move " + std::to_string(r.moves + 1) + ": unknown letter";
    if (r.error.empty() && !core::solved(board)) r.error = "boxes left off their targets";
    for (int i = 0; i < start.size(); ++i)
        if (core::isBox(start.at(i)) &&
            pushesOf[static_cast<std::size_t>(boxAt0[static_cast<std::size_t>(i)])] == 0)
            r.idleBoxCells.push_back(i);
    r.idleBoxes = static_cast<int>(r.idleBoxCells.size());
    r.solved = r.error.empty();
    return r;
}

int unusedFloor(const core::Board& board, const Replay& played) {
    if (!board.contains(board.worker)) return 0;
    const std::vector<bool> in = core::reach(board, board.worker, core::Walk::ThroughBoxes);
    int unused = 0;
    for (int i = 0; i < board.size(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (in[k] && (k >= played.used.size() || !played.used[k])) ++unused;
    }
    return unused;
}

std::string SameLevels::key(const core::Board& board) {
    return core::canonicalForm(board);
}

std::optional<std::string> SameLevels::add(const core::Board& board, const std::string& name) {
    const auto [it, fresh] = names_.try_emplace(key(board), name);
    if (fresh) return std::nullopt;
    return it->second;
}

bool SameLevels::contains(const core::Board& board) const {
    return names_.count(key(board)) > 0;
}

std::vector<std::string> readSolutions(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path.string() + ": cannot be read");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

SetText readSet(const std::filesystem::path& textDir, const std::filesystem::path& solutionDir,
                const std::string& name) {
    SetText set;
    set.name = name;
    set.levels = settext::readSetFile(textDir / (name + ".txt"));
    set.solutions = readSolutions(solutionDir / (name + ".txt"));
    return set;
}

std::vector<Problem> check(const std::vector<SetText>& sets, const Rules& rules) {
    std::vector<Problem> problems;
    SameLevels seen;
    NearLevels near;
    for (const auto& set : sets) {
        for (std::size_t i = 0; i < set.levels.size(); ++i) {
            const int number = static_cast<int>(i) + 1;
            const settext::SetLevel& level = set.levels[i];
            const auto report = [&](const std::string& what) {
                problems.push_back({set.name, number, what});
            };
            if (level.workers != 1) {
                report("needs exactly one worker, has " + std::to_string(level.workers));
                continue;
            }

            const std::string name = set.name + " " + std::to_string(number);
            if (const auto earlier = seen.add(level.board, name))
                report("the same puzzle as " + *earlier);
            else if (const auto twin = near.add(level.board, name))
                report("nearly the same as " + *twin);

            const Shape shape = shapeOf(level.board);
            if (shape.unreachable > 0)
                report(std::to_string(shape.unreachable) +
                       " floor square(s) the worker can never reach");

            if (i >= set.solutions.size() || set.solutions[i].empty()) {
                report("no stored solution");
                continue;
            }
            const Replay r = replay(level.board, set.solutions[i]);
            if (!r.solved) {
                report("the stored solution fails: " + r.error);
                continue;
            }
            const bool lesson = set.name == rules.lessonSet && number <= rules.shortLessons;
            if (r.pushes < rules.minPushes && !lesson)
                report("solved in " + std::to_string(r.pushes) + " push(es)");
            if (r.idleBoxes > 0)
                report(std::to_string(r.idleBoxes) + " box(es) the solution never moves");
        }
        if (set.solutions.size() > set.levels.size())
            problems.push_back({set.name, static_cast<int>(set.levels.size()) + 1,
                                "stored solutions past the last level"});
    }
    return problems;
}

} // namespace sokoban::levelcheck
