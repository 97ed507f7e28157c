#include "level_checks.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <stdexcept>
#include <utility>

namespace sokoban::levelcheck {

const char* const kSetNames[5] = {"easy", "game", "normal", "veryhard", "impossible"};

namespace {

// The drawn rows framed by one ring of outside squares, so that every
// board square has four neighbours and the outside is connected.
struct Grid {
    int w = 0;
    int h = 0;
    std::string cells; // '#', ' ', '.', '$', '*'; the worker is taken off his square
    int worker = -1;
    int step[4] = {};

    explicit Grid(const std::vector<std::string>& rows) {
        std::size_t longest = 0;
        for (const auto& r : rows)
            longest = std::max(longest, r.size());
        w = static_cast<int>(longest) + 2;
        h = static_cast<int>(rows.size()) + 2;
        step[0] = -w;
        step[1] = w;
        step[2] = -1;
        step[3] = 1;
        cells.assign(static_cast<std::size_t>(w * h), ' ');
        for (std::size_t y = 0; y < rows.size(); ++y)
            for (std::size_t x = 0; x < rows[y].size(); ++x) {
                const int i = index(static_cast<int>(x) + 1, static_cast<int>(y) + 1);
                char c = rows[y][x];
                if (c == '@' || c == '+') {
                    worker = i;
                    c = c == '@' ? ' ' : '.';
                }
                cells[static_cast<std::size_t>(i)] = c;
            }
    }

    int index(int x, int y) const { return y * w + x; }
    char at(int i) const { return cells[static_cast<std::size_t>(i)]; }
    bool onRing(int i) const {
        const int x = i % w, y = i / w;
        return x == 0 || y == 0 || x == w - 1 || y == h - 1;
    }
    static bool isBox(char c) { return c == '$' || c == '*'; }

    // Squares reached from `start` through squares `pass` allows; none when
    // start is -1.
    template <class Pass> std::vector<char> flood(int start, Pass pass) const {
        std::vector<char> seen(cells.size(), 0);
        if (start < 0) return seen;
        std::vector<int> todo{start};
        seen[static_cast<std::size_t>(start)] = 1;
        while (!todo.empty()) {
            const int i = todo.back();
            todo.pop_back();
            for (int d : step) {
                const int n = i + d;
                if (n < 0 || n >= w * h || seen[static_cast<std::size_t>(n)]) continue;
                // Left and right steps must not wrap round a row end.
                if ((d == 1 || d == -1) && n / w != i / w) continue;
                if (!pass(n)) continue;
                seen[static_cast<std::size_t>(n)] = 1;
                todo.push_back(n);
            }
        }
        return seen;
    }

    // The worker's part of the board, boxes ignored and the frame excluded.
    std::vector<char> inside() const {
        return flood(worker, [this](int i) { return at(i) != '#' && !onRing(i); });
    }
};

int letterDir(char c) {
    switch (std::tolower(static_cast<unsigned char>(c))) {
    case 'u':
        return 0;
    case 'd':
        return 1;
    case 'l':
        return 2;
    case 'r':
        return 3;
    default:
        return -1;
    }
}

} // namespace

Shape shapeOf(const std::vector<std::string>& rows) {
    const Grid g(rows);
    Shape s;
    s.height = static_cast<int>(rows.size());
    s.width = g.w - 2;
    const auto in = g.inside();
    const auto outside = g.flood(0, [&g](int i) { return g.at(i) != '#'; });
    for (int i = 0; i < g.w * g.h; ++i) {
        const char c = g.at(i);
        if (Grid::isBox(c)) ++s.boxes;
        if (in[static_cast<std::size_t>(i)])
            ++s.floorArea;
        else if (c != '#' && !outside[static_cast<std::size_t>(i)])
            ++s.unreachable;
    }
    return s;
}

Replay replay(const std::vector<std::string>& rows, const std::string& lurd) {
    const Grid g(rows);
    Replay r;
    if (g.worker < 0) {
        r.error = "no worker";
        return r;
    }
    // Each box keeps its number wherever it is pushed.
    std::vector<int> boxAt(g.cells.size(), -1);
    int boxes = 0;
    for (std::size_t i = 0; i < g.cells.size(); ++i)
        if (Grid::isBox(g.cells[i])) boxAt[i] = boxes++;
    std::vector<int> pushesOf(static_cast<std::size_t>(boxes), 0);
    int man = g.worker;
    int lastBox = -1;
    const auto blocked = [&g](int i) { return g.onRing(i) || g.at(i) == '#'; };
    for (std::size_t k = 0; k < lurd.size() && r.error.empty(); ++k) {
        const std::string where = "move " + std::to_string(k + 1) + ": ";
        const int d = letterDir(lurd[k]);
        if (d < 0) {
            r.error = where + "unknown letter";
            break;
        }
        const bool push = std::isupper(static_cast<unsigned char>(lurd[k]));
        const int next = man + g.step[d];
        if (blocked(next)) {
            r.error = where + "walks into a wall";
            break;
        }
        const int box = boxAt[static_cast<std::size_t>(next)];
        if (box < 0 && push) {
            r.error = where + "push letter for a plain step";
            break;
        }
        if (box >= 0) {
            const int beyond = next + g.step[d];
            if (blocked(beyond) || boxAt[static_cast<std::size_t>(beyond)] >= 0) {
                r.error = where + "box is blocked";
                break;
            }
            if (!push) {
                r.error = where + "step letter for a push";
                break;
            }
            boxAt[static_cast<std::size_t>(beyond)] = box;
            boxAt[static_cast<std::size_t>(next)] = -1;
            ++pushesOf[static_cast<std::size_t>(box)];
            if (lastBox >= 0 && box != lastBox) ++r.boxChanges;
            lastBox = box;
            ++r.pushes;
        }
        man = next;
        ++r.moves;
    }
    for (std::size_t i = 0; i < boxAt.size() && r.error.empty(); ++i)
        if (boxAt[i] >= 0 && g.cells[i] != '.' && g.cells[i] != '*')
            r.error = "boxes left off their targets";
    r.idleBoxes = static_cast<int>(std::count(pushesOf.begin(), pushesOf.end(), 0));
    r.solved = r.error.empty();
    return r;
}

std::string canonicalForm(const std::vector<std::string>& rows) {
    const Grid g(rows);
    const auto in = g.inside();
    const auto free = g.flood(
        g.worker, [&](int i) { return in[static_cast<std::size_t>(i)] && !Grid::isBox(g.at(i)); });
    int left = g.w, right = -1, top = g.h, bottom = -1;
    for (int i = 0; i < g.w * g.h; ++i)
        if (in[static_cast<std::size_t>(i)]) {
            left = std::min(left, i % g.w);
            right = std::max(right, i % g.w);
            top = std::min(top, i / g.w);
            bottom = std::max(bottom, i / g.w);
        }
    if (right < 0) return {};
    const int bw = right - left + 1, bh = bottom - top + 1;
    const auto code = [&](int i) {
        if (!in[static_cast<std::size_t>(i)]) return '#';
        const char c = g.at(i);
        const bool walk = free[static_cast<std::size_t>(i)];
        if (c == '.') return walk ? 'b' : '.';
        if (c == ' ') return walk ? 'a' : ' ';
        return c;
    };

    std::string best;
    for (int t = 0; t < 8; ++t) {
        const bool turn = t >= 4;
        const int ow = turn ? bh : bw, oh = turn ? bw : bh;
        std::string s(static_cast<std::size_t>(ow * oh), '#');
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x) {
                int tx = t & 1 ? bw - 1 - x : x;
                int ty = t & 2 ? bh - 1 - y : y;
                if (turn) std::swap(tx, ty);
                s[static_cast<std::size_t>(ty * ow + tx)] = code(g.index(left + x, top + y));
            }
        s = std::to_string(ow) + "x" + std::to_string(oh) + ":" + s;
        if (best.empty() || s < best) best = std::move(s);
    }
    return best;
}

SetText readSet(const std::filesystem::path& textDir, const std::filesystem::path& solutionDir,
                const std::string& name) {
    SetText set;
    set.name = name;
    const auto textPath = textDir / (name + ".txt");
    std::ifstream text(textPath);
    if (!text) throw std::runtime_error(textPath.string() + ": cannot be read");
    try {
        set.levels = leveltext::readLevels(text);
    } catch (const std::exception& e) {
        throw std::runtime_error(textPath.string() + ": " + e.what());
    }
    const auto solutionPath = solutionDir / (name + ".txt");
    std::ifstream solutions(solutionPath);
    if (!solutions) throw std::runtime_error(solutionPath.string() + ": cannot be read");
    for (std::string line; std::getline(solutions, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        set.solutions.push_back(line);
    }
    return set;
}

std::vector<Problem> check(const std::vector<SetText>& sets, const Rules& rules) {
    std::vector<Problem> problems;
    std::map<std::string, std::pair<std::string, int>> firstSeen;
    for (const auto& set : sets) {
        for (std::size_t i = 0; i < set.levels.size(); ++i) {
            const int number = static_cast<int>(i) + 1;
            const auto& rows = set.levels[i].rows;
            const auto report = [&](const std::string& what) {
                problems.push_back({set.name, number, what});
            };

            const auto form = canonicalForm(rows);
            const auto [seen, fresh] = firstSeen.try_emplace(form, set.name, number);
            if (!fresh)
                report("the same puzzle as " + seen->second.first + " " +
                       std::to_string(seen->second.second));

            const Shape shape = shapeOf(rows);
            if (shape.unreachable > 0)
                report(std::to_string(shape.unreachable) +
                       " floor square(s) the worker can never reach");

            if (i >= set.solutions.size() || set.solutions[i].empty()) {
                report("no stored solution");
                continue;
            }
            const Replay r = replay(rows, set.solutions[i]);
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
