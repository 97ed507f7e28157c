#include "solver.h"

#include "core/flood.h"

#include "board.h"
#include "fess.h"
#include "goalroom.h"
#include "search.h"
#include "shorten.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <new>
#include <thread>

namespace sokoban::solver {

const char* statusName(Status status) {
    switch (status) {
    case Status::Solved:
        return "solved";
    case Status::Unsolvable:
        return "unsolvable";
    case Status::Timeout:
        return "timeout";
    case Status::Memory:
        return "memory";
    case Status::Cancelled:
        return "cancelled";
    case Status::Invalid:
        return "invalid";
    }
    return "invalid";
}

namespace {

// Walks the worker along shortest paths to each push and makes the pushes.
std::vector<std::uint8_t> movesOf(const Board& board, const std::vector<PushRun>& pushes) {
    std::vector<std::uint8_t> moves;
    std::vector<std::uint16_t> boxAt(board.size(), 0);
    for (Square b : board.boxes())
        boxAt[b] = 1;
    Square man = board.man();
    core::Flood<core::kFloodParents> walk(board.size());
    std::vector<std::uint8_t> path;
    for (const PushRun& run : pushes) {
        const Square goal = board.next(run.from, opposite(run.dir));
        // Breadth-first search from the worker, until it gets behind the box.
        walk.clear();
        walk.start(man);
        walk.run([&](int s) {
            if (walk.seen(goal)) return false;
            for (int d = 0; d < 4; ++d) {
                const Square n = board.next(static_cast<Square>(s), d);
                if (n != kNone && !boxAt[n]) walk.visit(n);
            }
            return true;
        });
        if (!walk.seen(goal)) break; // cannot happen for a search result; never loop
        path.clear();
        for (int s = goal, p; (p = walk.parent(s)) >= 0; s = p) {
            int d = 0;
            while (board.next(static_cast<Square>(p), d) != s)
                ++d;
            path.push_back(static_cast<std::uint8_t>(d));
        }
        moves.insert(moves.end(), path.rbegin(), path.rend());
        Square box = run.from;
        for (int i = 0; i < run.count; ++i) {
            Square to = board.next(box, run.dir);
            boxAt[box] = 0;
            boxAt[to] = 1;
            moves.push_back(run.dir);
            box = to;
        }
        man = board.next(box, opposite(run.dir));
    }
    return moves;
}

Status statusOf(SearchEnd end) {
    switch (end) {
    case SearchEnd::Solved:
        return Status::Solved;
    case SearchEnd::Exhausted:
        return Status::Unsolvable;
    case SearchEnd::Timeout:
        return Status::Timeout;
    case SearchEnd::Memory:
        return Status::Memory;
    case SearchEnd::Cancelled:
        return Status::Cancelled;
    case SearchEnd::Stopped:
    case SearchEnd::OutOfShare:
    case SearchEnd::GaveUp:
        return Status::Timeout;
    }
    return Status::Timeout;
}

// Bytes kept back from the searches for the rest of the process.
constexpr std::int64_t kReserve = 24ll << 20;

// How long the fewest-pushes search may go on once another has a solution:
// this share of the time spent so far, never more than the cap (seconds).
constexpr double kGraceShare = 0.25;
constexpr double kGraceCap = 0.5;

// Shares of the time limit, in processor time of the thread, on levels with
// a goal room: the fewest-pushes search's when another thread is there, and
// the strict order's before the loose one takes over.
constexpr double kFewestShare = 0.1;
// Without a goal room, the bolder search's share before a search of the
// middle weight takes its thread: on mid-size levels the bolder one floods
// the plateaus of a flat bound, and one that has not got through by then
// seldom does; one between it and the fewest-pushes search often does.
constexpr double kBolderShareOpen = 0.3;
constexpr int kMiddleWeight = 2;

// Time for shortening an answer of the bolder searches: this share of the
// time spent finding it, at least the first figure, at most the cap. It
// ends sooner when every position of the answer has been looked at.
constexpr double kShortenShare = 0.25;
constexpr double kShortenLeast = 0.02;
constexpr double kShortenCap = 1.0;
constexpr double kStrictShare = 0.4;
// On small levels the bolder search that has not got through in its share
// gives its thread for this share to a greedy search before the next.
constexpr double kCheapShare = 0.2;
// Levels of this many boxes or more: after its share the fewest-pushes
// search gives its thread to the search in a space of features, which gets
// through goal rooms behind doors and crowded boards where the others
// flood. With a goal room of any size the fewest-pushes search has the
// first share before it, which it seldom needs there; without one, the
// second, enough for the levels it solves at all.
constexpr std::size_t kFeatureBoxes = 10;
constexpr double kFewestShareOpen = 0.4;
// The answers of the feature search are long: shortening goes on in passes
// while one still helps, for up to half the time spent again (at least
// kShortenCap), never past the limit.
constexpr double kFeatureShortenShare = 0.5;

class SystemClock final : public SolveClock {
  public:
    double wallSeconds() const override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    double threadSeconds() const override {
        timespec t{};
        if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) != 0) return wallSeconds();
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
};

} // namespace

const SolveClock& systemClock() {
    static const SystemClock clock;
    return clock;
}

std::string invalidReason(const core::Board& level) {
    for (const std::uint8_t code : level.cells)
        if (code > kBoxOnTarget) return "unknown cell code " + std::to_string(code);
    if (!level.contains(level.worker))
        return "no worker (worker square " + std::to_string(level.worker) + " is off the board)";
    if (!core::isFree(level.at(level.worker)))
        return "no worker (worker square " + std::to_string(level.worker) + " is not free floor)";
    return {};
}

Result solve(const core::Board& level, const Limits& limits) {
    const SolveClock& clock = limits.clock ? *limits.clock : systemClock();
    const double start = clock.wallSeconds();
    Result result;
    auto finish = [&](Status status) {
        result.status = status;
        result.seconds = clock.wallSeconds() - start;
        return result;
    };
    result.reason = invalidReason(level);
    if (!result.reason.empty()) return finish(Status::Invalid);
    const Board board(level);
    if (!board.unsolvable().empty()) {
        result.reason = board.unsolvable();
        return finish(Status::Unsolvable);
    }
    for (Square b : board.boxes()) {
        if (board.isDead(b)) {
            result.reason = "a box stands where it can never reach a target";
            return finish(Status::Unsolvable);
        }
    }

    SearchControl control(clock);
    control.cancel = limits.cancel;
    if (limits.timeSeconds < 1e7) control.deadline = start + std::max(0.0, limits.timeSeconds);
    const std::int64_t memory =
        static_cast<std::int64_t>(std::min<std::size_t>(limits.memoryBytes, std::size_t{1} << 50));
    control.memoryLeft = std::max<std::int64_t>(memory - kReserve, memory / 4);

    int threads = limits.threads;
    if (threads <= 0) threads = std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    threads = std::min(threads, 2);

    // One search looks for the fewest pushes; the second, when there is a
    // core for it, trusts the bound more and usually finishes first. A
    // solution from the second lets the first go on for a short while to try
    // to better it: a quarter of the time spent so far, at most half a
    // second, so that the answer is not held back for long.
    // Where the targets lie packed in a room, the bolder search fills it in
    // strict order; if that runs dry, or has had its share of the time, a
    // loose search guided by the order takes over. With two threads the
    // fewest-pushes search, which rarely finishes on such levels, also gives
    // way after its share to a loose search of its own with another weight
    // and the other guide. Without a goal room the bolder search gives way
    // after its share to one of a weight between the two.
    // Shares are processor time of the thread, so a busy machine does not
    // shift them.
    const GoalRoom room(board);
    const bool finite = limits.timeSeconds < 1e7;
    const double span = std::max(0.0, limits.timeSeconds);
    std::vector<SearchOutcome> outcomes(threads);
    int featureThread = -1; // whose answer came from the feature search
    auto runSearch = [&](int which, double share) {
        SearchOutcome out;
        std::uint64_t before = 0;
        // Deadlocks one search learns hold for the next on this thread too.
        DeadlockTable learned(board);
        const auto run = [&](int weight, bool withRoom, bool strict, double cpu) {
            Search search(board, control, weight, withRoom ? &room : nullptr, strict);
            search.shareLearned(learned);
            search.setShare(cpu);
            search.setGuideBound(which == 1);
            out = search.run();
            out.expanded += before;
            before = out.expanded;
            out.fewest = weight == 1;
        };
        try {
            if (which == 0) {
                const bool features =
                    threads > 1 && finite && board.boxes().size() >= kFeatureBoxes;
                run(1, false, true,
                    features && share == 0
                        ? (room.active() ? kFewestShare : kFewestShareOpen) * span
                        : share);
                if (out.end == SearchEnd::OutOfShare && features && !control.stop) {
                    FeatureSearch search(board, control, &room);
                    search.shareLearned(learned);
                    out = search.run();
                    out.expanded += before;
                    if (out.end == SearchEnd::Solved) featureThread = which;
                } else if (out.end == SearchEnd::OutOfShare && threads > 1 && room.active() &&
                           !control.stop) {
                    run(3, true, false, 0);
                }
            } else {
                if (room.active()) {
                    // The order made again from where it stopped fitting.
                    out = searchInOrder(board, control, 5, room, learned,
                                        finite ? kStrictShare * span : 0, true);
                    before = out.expanded;
                } else {
                    run(5, false, true, finite ? kBolderShareOpen * span : 0);
                }
                if ((out.end == SearchEnd::GaveUp || out.end == SearchEnd::OutOfShare) &&
                    !control.stop && finite && board.boxes().size() < kFeatureBoxes) {
                    // Small levels: a cheap greedy search for a while first.
                    out = cheapSearch(board, control, room.active() ? &room : nullptr, learned,
                                      kCheapShare * span);
                    out.expanded += before;
                    before = out.expanded;
                }
                if ((out.end == SearchEnd::GaveUp || out.end == SearchEnd::OutOfShare) &&
                    !control.stop) {
                    if (room.active())
                        run(5, true, false, 0);
                    else
                        run(kMiddleWeight, false, true, 0);
                }
            }
        } catch (const std::bad_alloc&) {
            out.end = SearchEnd::Memory;
        }
        if (out.end == SearchEnd::Solved) {
            out.foundAt = clock.wallSeconds() - start;
            int best = control.bestPushes.load();
            while (out.pushCount < best &&
                   !control.bestPushes.compare_exchange_weak(best, out.pushCount)) {
            }
            if (out.fewest) {
                control.stop = true;
            } else {
                const double spent = out.foundAt;
                control.graceEnd = start + spent + std::min(kGraceCap, kGraceShare * spent + 0.02);
            }
        } else if (out.end == SearchEnd::Exhausted) {
            control.stop = true;
        } else if (out.end == SearchEnd::Cancelled || out.end == SearchEnd::Timeout) {
            control.stop = true;
        }
        outcomes[which] = std::move(out);
    };
    if (threads == 1) {
        // One core: the fewest-pushes search gets a first slice of the time;
        // if it has not finished by then, the bolder search takes the rest.
        runSearch(0, std::min(0.3, 0.1 * span));
        if ((outcomes[0].end == SearchEnd::OutOfShare || outcomes[0].end == SearchEnd::Memory) &&
            !control.stop) {
            outcomes.emplace_back();
            runSearch(1, 0);
        }
    } else {
        std::thread helper(runSearch, 1, 0.0);
        runSearch(0, room.large() && finite ? kFewestShare * span : 0);
        helper.join();
    }

    const SearchOutcome* best = nullptr;
    bool exhausted = false, memoryOut = false, cancelled = false;
    for (const auto& out : outcomes) {
        result.nodes += out.expanded;
        if (out.end == SearchEnd::Solved && (!best || out.pushCount < best->pushCount)) best = &out;
        exhausted = exhausted || out.end == SearchEnd::Exhausted;
        memoryOut = memoryOut || out.end == SearchEnd::Memory;
        cancelled = cancelled || out.end == SearchEnd::Cancelled;
    }
    if (best) {
        std::vector<PushRun> pushes = best->pushes;
        int pushCount = best->pushCount;
        if (!best->fewest) {
            // The bolder searches' answers have detours: take them out while
            // the time allows, a quarter as long again as the search took at
            // most and never past the limit.
            const bool features = featureThread >= 0 && best == &outcomes[featureThread];
            const double now = clock.wallSeconds();
            const double budget =
                features
                    ? std::max(kShortenCap, kFeatureShortenShare * (now - start))
                    : std::min(kShortenCap, std::max(kShortenLeast, kShortenShare * (now - start)));
            const double end = std::min(control.deadline, now + budget);
            ShortenLimits shorten;
            shorten.stop = [&] {
                return (limits.cancel && limits.cancel->load(std::memory_order_relaxed)) ||
                       clock.wallSeconds() >= end;
            };
            // The first pass also writes one push per run.
            pushes = shortenPushes(board, pushes, shorten);
            for (std::size_t was = 0; features && pushes.size() != was && !shorten.stop();) {
                was = pushes.size();
                pushes = shortenPushes(board, pushes, shorten);
            }
            pushCount = static_cast<int>(pushes.size());
        }
        result.moves = movesOf(board, pushes);
        result.moveCount = static_cast<int>(result.moves.size());
        result.pushCount = pushCount;
        result.fewestPushes = best->fewest;
        result.firstSolutionSeconds = best->foundAt;
        for (const auto& out : outcomes)
            if (out.end == SearchEnd::Solved)
                result.firstSolutionSeconds = std::min(result.firstSolutionSeconds, out.foundAt);
        return finish(Status::Solved);
    }
    if (exhausted) return finish(Status::Unsolvable);
    if (cancelled) return finish(Status::Cancelled);
    if (memoryOut) return finish(Status::Memory);
    return finish(statusOf(outcomes[0].end));
}

int lowerBound(const core::Board& level) {
    const Board board(level);
    if (!board.unsolvable().empty()) return -1;
    SearchControl control(systemClock());
    control.memoryLeft = 1ll << 30;
    Search search(board, control, 1);
    int h = search.lowerBound(board.boxes(), board.man());
    return h >= Matcher::kNoPair ? -1 : h;
}

} // namespace sokoban::solver
