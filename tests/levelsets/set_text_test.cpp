// The text form of the built-in sets: what a set's text gives, the slips it
// refuses, and rows that come back as they were written.

#include "set_text.h"

#include "core/board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

namespace st = sokoban::settext;
namespace core = sokoban::core;
using Rows = std::vector<std::string>;

TEST(SetText, LevelsWithTheirHeadingsRowsAndBoards) {
    const std::string text = "; 1\r\n"
                             "#####\r\n"
                             "#@$.#\r\n"
                             "#####\r\n"
                             "\r\n"
                             "; 2 long\n"
                             " #####\n"
                             "##   #\n"
                             "#@$ .#   \n"
                             "######\n"
                             ";3\n"
                             "######\n"
                             "#@ $.#\n"
                             "# #  #\n"
                             "######\n";
    const auto levels = st::parseSet(text);
    ASSERT_EQ(levels.size(), 3u);
    const struct {
        const char* heading;
        int line;
        Rows rows;
        int outside; // cells of the board outside the level
    } expected[] = {
        {"1", 1, {"#####", "#@$.#", "#####"}, 0},
        {"2 long", 6, {" #####", "##   #", "#@$ .#", "######"}, 1},
        {"3", 11, {"######", "#@ $.#", "# #  #", "######"}, 0},
    };
    for (std::size_t i = 0; i < levels.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(levels[i].heading, expected[i].heading);
        EXPECT_EQ(levels[i].line, expected[i].line);
        EXPECT_EQ(levels[i].rows, expected[i].rows);
        EXPECT_EQ(levels[i].workers, 1);
        const core::Board& b = levels[i].board;
        EXPECT_EQ(b.rows, static_cast<int>(expected[i].rows.size()));
        EXPECT_EQ(std::count(b.cells.begin(), b.cells.end(), core::kOutside), expected[i].outside);
        EXPECT_EQ(b.at(b.worker), core::kFloor);
        EXPECT_EQ(st::rowsOf(b), expected[i].rows);
    }
}

TEST(SetText, SlipsStopTheReadingAtTheirLine) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"#####\n#@$.#\n#####\n", "line 1: board rows without a ';' heading"},
        {"; 1\n#####\n#@$.#\n#####\n\n#####\n#@$.#\n#####\n", "line 6: board rows without"},
        {"; 1\n; 2\n#####\n#@$.#\n#####\n", "line 1: a heading with no level"},
        {"; 1\n#####\n#@$.#\n#####\n; 2\n", "line 5: a heading with no level"},
        {"; 1\n#####\n#@$-#\n#####\n", "line 3: unexpected character '-'"},
        {"; 1\n#####\n#@$.#\n#####\nTitle: x\n", "line 5: unexpected character 'T'"},
    };
    for (const auto& c : cases) {
        try {
            st::parseSet(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << e.what() << " for " << c.text;
        }
    }
}

// The rows without the blank columns every row starts with.
Rows cutLeft(Rows rows) {
    std::size_t lead = std::string::npos;
    for (const auto& r : rows)
        if (!r.empty()) lead = std::min(lead, r.find_first_not_of(' '));
    for (auto& r : rows)
        r.erase(0, std::min(lead, r.size()));
    return rows;
}

TEST(SetText, BuiltInRowsComeBackAsWritten) {
    for (const char* set : {"easy", "game", "normal", "veryhard", "impossible"}) {
        const auto levels = st::readSetFile(std::string(LEVELSETS_TEXT_DIR) + "/" + set + ".txt");
        ASSERT_GE(levels.size(), 60u) << set;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const Rows written = st::rowsOf(levels[i].board);
            EXPECT_EQ(written, cutLeft(levels[i].rows)) << set << " " << i + 1;
            EXPECT_EQ(st::rowsOf(st::boardOfRows(written)), written) << set << " " << i + 1;
            EXPECT_EQ(st::boardOfRows(levels[i].rows), levels[i].board) << set << " " << i + 1;
        }
    }
}

} // namespace
