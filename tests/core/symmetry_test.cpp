#include "core/symmetry.h"

#include <gtest/gtest.h>

#include <set>

namespace sokoban::core {
namespace {

const std::vector<std::string> kLevel = {
    "#######", "#@ $ .#", "# ##  #", "#   * #", "#######",
};

TEST(CoreSymmetry, EightDifferentLayingsThatGoBack) {
    const Board b = fromXsbRows(kLevel);
    std::set<std::vector<std::string>> seen;
    for (int t = 0; t < kSymmetries; ++t) {
        const Board turned = transformed(b, t);
        seen.insert(toXsbRows(turned));
        EXPECT_EQ(turned.rows, t & 1 ? b.cols : b.rows) << t;
        EXPECT_EQ(turned.boxCount(), b.boxCount());
        // A turned board's worker stands on the same kind of cell.
        EXPECT_EQ(turned.at(turned.worker), b.at(b.worker));
        // Each symmetry is undone by applying it again, or by its partner
        // for the quarter turns.
        bool back = false;
        for (int u = 0; u < kSymmetries; ++u)
            back = back || transformed(turned, u) == b;
        EXPECT_TRUE(back) << t;
    }
    EXPECT_EQ(seen.size(), 8u);
    EXPECT_EQ(transformed(b, 0), b);
    EXPECT_EQ(toXsbRows(transformed(b, 4))[1], "#. $ @#");
    EXPECT_EQ(toXsbRows(transformed(b, 1))[1], "#@  #");
}

TEST(CoreSymmetry, CanonicalFormNamesTheSamePuzzle) {
    const std::string key = canonicalForm(fromXsbRows(kLevel));
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        bool same;
    } cases[] = {
        {"moved and framed by blanks",
         {"", "   #######", "   #@ $ .#", "   # ##  #", "   #   * #", "   #######"},
         true},
        {"thicker walls",
         {"#########", "########", "##@ $ .#", "## ##  #", "##   * #", "########"},
         true},
        {"worker elsewhere in his region",
         {"#######", "#  $ .#", "# ##  #", "#@  * #", "#######"},
         true},
        {"mirrored", {"#######", "#. $ @#", "#  ## #", "# *   #", "#######"}, true},
        {"turned a quarter",
         {"#####", "#@  #", "#  ##", "#$  #", "# # #", "#.**#", "#####"},
         false}, // a different level, not a turn: see the next case
        {"worker beyond a box", {"#######", "# @$ .#", "# ##  #", "#   * #", "#######"}, true},
        {"worker cut off by a box", {"#######", "# $@ .#", "# ##  #", "#   * #", "#######"}, false},
        {"a box moved", {"#######", "#@  $.#", "# ##  #", "#   * #", "#######"}, false},
        {"a floor cell walled", {"#######", "#@ $ .#", "# ### #", "#   * #", "#######"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(canonicalForm(fromXsbRows(c.rows)) == key, c.same) << c.what;
    for (int t = 0; t < kSymmetries; ++t)
        EXPECT_EQ(canonicalForm(transformed(fromXsbRows(kLevel), t)), key) << t;
    // The same walls and box, the worker on either side of it.
    EXPECT_NE(canonicalForm(fromXsbRows({"########", "#@ $   #", "########"})),
              canonicalForm(fromXsbRows({"########", "#  $ @ #", "########"})));
    EXPECT_EQ(canonicalForm(Board{}), "0x0:");
}

} // namespace
} // namespace sokoban::core
