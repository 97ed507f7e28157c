// How the solver shares its time, on a clock the test drives: the first
// search's share of a single thread is the processor time that thread had,
// not the wall time a busy machine lets pass, and an answer found early
// comes back soon after, not when the limit runs out.
#include "solver/board.h"
#include "solver/goalroom.h"
#include "solver/search.h"
#include "solver/solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace sokoban::solver {
namespace {

// Time passes only when the solver looks at it: every reading of the wall
// clock is one tick later, and the solving thread has had `share` of the
// ticks as its own processor time.
class TickingClock final : public SolveClock {
  public:
    TickingClock(double tick, double share) : tick_(tick), share_(share) {}
    double wallSeconds() const override { return tick_ * static_cast<double>(++ticks_); }
    void reset() { ticks_ = 0; }
    double threadSeconds() const override {
        return share_ * tick_ * static_cast<double>(ticks_.load());
    }

  private:
    double tick_, share_;
    mutable std::atomic<long> ticks_{0};
};

core::Board levelOf(const std::vector<std::string>& rows) {
    const core::Board lv = core::fromXsbRows(rows);
    EXPECT_EQ(invalidReason(lv), "");
    return lv;
}

TEST(SolveClock, TheFirstSearchKeepsItsShareOnAStarvedThread) {
    // The fewest-pushes search needs thousands of positions here, more than
    // a tenth of a second of wall time at the clock's pace; the bolder one
    // finds a longer way.
    const core::Board level = levelOf({
        "########",
        "# . .$.#",
        "#$  ## #",
        "#      #",
        "#  #$ .#",
        "# $@$  #",
        "#. #####",
        "####",
    });
    struct Case {
        const char* name;
        double share;
        bool fewestPushes;
    } cases[] = {
        // Its slice of processor time runs out: the bolder search takes over.
        {"the whole processor", 1.0, false},
        // Ten times the wall time passes, yet it has had no more processor
        // time than it needs.
        {"a tenth of the processor", 0.1, true},
    };
    int pushes[2] = {};
    for (int i = 0; i < 2; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        TickingClock clock(0.01, c.share);
        Limits limits;
        limits.timeSeconds = 10;
        limits.threads = 1;
        limits.clock = &clock;
        const Result r = solve(level, limits);
        ASSERT_EQ(r.status, Status::Solved);
        EXPECT_EQ(r.fewestPushes, c.fewestPushes);
        pushes[i] = r.pushCount;
    }
    EXPECT_LT(pushes[1], pushes[0]);
}

TEST(SolveClock, AnEarlyAnswerIsNotHeldBackUntilTheLimit) {
    // A big hall with scattered targets: the bolder search solves it after
    // some ticks, the search for the fewest pushes would need ages.
    const core::Board level = levelOf({
        "##############################", "##  ##   .#     #      #  *  #",
        "##        # * #     ####  ####", "###       #   ##       # $#  #",
        "#@#                 # #    # #", "#$#  $  # $ #  #    ###  #$$ #",
        "#  ###  #   #  #   .#  .     #", "#.  ###   # ###       #    . #",
        "# #   #   #     #$    # .    #", "# # $$$     ###     ###  ###.#",
        "# ###   .      #   .       ###", "#           #     .       $  #",
        "## .    . # ## $ . $   .    .#", "###       #   .   .       .  #",
        "###        #  ###       ###  #", "########  .#          #.  #  #",
        "#       #####  $##  $ # ###  #", "# # * #     .    $  $$ ####$##",
        "# # * #        $ $$$         #", "# # #     ##    $    # $   ###",
        "###   ##     .     # #       #", "# $    #     # ###.#    #   .#",
        "#         #### ##.      #    #", "#    .       #    $     #*   #",
        "#                   .  #     #", "##############################",
    });
    const double tick = 0.5;
    TickingClock clock(tick, 1.0);
    Limits limits;
    limits.timeSeconds = 1000;
    limits.threads = 2;
    limits.clock = &clock;
    const Result r = solve(level, limits);
    ASSERT_EQ(r.status, Status::Solved);
    EXPECT_FALSE(r.fewestPushes);
    // Late enough that going on as long again would show.
    ASSERT_GT(r.firstSolutionSeconds, 2.0);
    // Half a second to better it, and the tick in which each search sees
    // that the time is up; then a quarter of the time so far (at most a
    // second) to shorten it, and the tick in which that ends.
    const double searched = r.firstSolutionSeconds + 0.5 + 2 * tick;
    EXPECT_LE(r.seconds, searched + std::min(1.0, 0.25 * searched) + tick);
}

TEST(SolveClock, ASearchEndsWhenItHasHadItsShare) {
    // A goal room the searches need long for: one given a share of its
    // thread's processor time stops when that is used, whatever the wall
    // clock says; without a share it runs on to the deadline.
    const Board board(levelOf({
        "##########################", "#**...$ #               ##", "#+**.*$ #         $  #  ##",
        "#*....  #           ###  #", "#...  $ # ##       #     #", "#                        #",
        "#### ####           ##   #", "#    $   ##         #    #", "#         #              #",
        "# $       ##         #   #", "#         #          #   #", "# $$            #        #",
        "#     #                  #", "#    ###     #       #   #", "# $$ # ### # #           #",
        "#       #    ##          #", "#     # #$    #    # #   #", "#         $ #      #     #",
        "#                  #  #  #", "##########################",
    }));
    const GoalRoom room(board);
    ASSERT_TRUE(room.active());
    struct Case {
        double share;    // of the processor time given to the search
        double deadline; // wall seconds
        SearchEnd end;
    } cases[] = {
        {0.5, 1e9, SearchEnd::OutOfShare},
        {0.0, 0.5, SearchEnd::Timeout},
        // A tenth of the processor: the share outlasts the wall clock.
        {0.5, 4.0, SearchEnd::Timeout},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deadline);
        TickingClock clock(0.05, c.deadline == 4.0 ? 0.1 : 1.0);
        SearchControl control(clock);
        control.memoryLeft = std::int64_t{512} << 20;
        control.deadline = c.deadline;
        for (const bool strict : {true, false}) {
            Search search(board, control, 5, &room, strict);
            search.setShare(c.share);
            EXPECT_EQ(search.run().end, c.end) << strict;
            clock.reset();
        }
    }
}

} // namespace
} // namespace sokoban::solver
