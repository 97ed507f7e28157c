#include "../test_files.h"
#include "core/level_text.h"

#include <gtest/gtest.h>

namespace sokoban::core {
namespace {

using testing::join;

// The cell codes of a board, a row of digits per row.
std::vector<std::string> codes(const Board& b) {
    std::vector<std::string> out;
    for (int r = 0; r < b.rows; ++r) {
        std::string s;
        for (int c = 0; c < b.cols; ++c)
            s += char('0' + b.at(r, c));
        out.push_back(s);
    }
    return out;
}

std::vector<TextLevel> read(const std::string& text, ReadMode mode = ReadMode::Collection) {
    return readLevelText(text, mode);
}

const std::vector<std::string> kSmall = {"#####", "#@$.#", "#####"};

TEST(CoreLevelText, TolerantFormsOfACollectionLevel) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> plain; // the same level in plain rows
    } cases[] = {
        {"byte-order mark and CR LF", "\xef\xbb\xbf" + join(kSmall, "\r\n"), kSmall},
        {"lone CR", join(kSmall, "\r"), kSmall},
        {"no line end at the end", "#####\n#@$.#\n#####", kSmall},
        {"run lengths", "5#\n#@$.#\n5#\n", kSmall},
        {"rows split by bars", "5#|#@$.#|5#\n", kSmall},
        {"floor as dash, underscore and tab",
         "-#####\n_#@\t$.#\n-######\n",
         {" #####", " #@ $.#", " ######"}},
        {"run lengths of floor", "2-4#|2-#@.#|2-4#\n", {"  ####", "  #@.#", "  ####"}},
        {"title and author below", join(kSmall) + "Title: Small\nAuthor: Team\n", kSmall},
        {"notes above", "Title: Small\n; made by the team\n\n" + join(kSmall), kSmall},
        {"comment block after", join(kSmall) + "Comment:\n#####\n#@$.#\nComment-End:\n", kSmall},
    };
    for (const auto& c : cases) {
        const auto levels = read(c.text);
        ASSERT_EQ(levels.size(), 1u) << c.what;
        EXPECT_EQ(levels[0].board(), read(join(c.plain))[0].board()) << c.what;
        EXPECT_EQ(levels[0].rows, c.plain) << c.what;
        EXPECT_EQ(levels[0].workers, 1) << c.what;
    }
}

TEST(CoreLevelText, CollectionsSplitWithTitlesAndLines) {
    const std::string text = "; A collection\n\n"                                 // 1, 2
                             "#####\n#@$.#\n#####\nTitle: First\nAuthor: Ann\n\n" // 3 .. 8
                             "Title: Second\n####\n#@*#\n####\n"                  // 9 .. 12
                             "Comment:\nTitle: not a title\nComment-End:\n"       // 13 .. 15
                             "----\n"                                             // 16
                             "Author: Bob\n3#|#@#|3#\n";                          // 17, 18
    const auto levels = read(text);
    ASSERT_EQ(levels.size(), 3u);
    struct Expected {
        const char* title;
        const char* author;
        int firstLine;
        int rowCount;
    } expected[] = {{"First", "Ann", 3, 3}, {"Second", "", 10, 3}, {"", "Bob", 18, 3}};
    for (std::size_t k = 0; k < levels.size(); ++k) {
        EXPECT_EQ(levels[k].number, int(k) + 1);
        EXPECT_EQ(levels[k].title, expected[k].title) << k;
        EXPECT_EQ(levels[k].author, expected[k].author) << k;
        EXPECT_EQ(levels[k].firstLine, expected[k].firstLine) << k;
        EXPECT_EQ(levels[k].rowCount, expected[k].rowCount) << k;
    }
}

// The conventions collections are written in, one small text of each.
TEST(CoreLevelText, CommunityConventions) {
    const std::string box = "#####\n#@$.#\n#####\n";
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> titles; // one per level
        std::vector<int> rowCounts;
        std::vector<std::string> solutions;
        std::string collection;
    } cases[] = {
        {"free text right above",
         "Level One\n" + box + "\nLevel Two\n" + box,
         {"Level One", "Level Two"},
         {3, 3},
         {"", ""},
         ""},
        {"free text set apart", "Some words\n\n" + box, {""}, {3}, {""}, ""},
        {"a tag beats free text", "Words\nTitle: Tagged\n" + box, {"Tagged"}, {3}, {""}, ""},
        {"comments are no titles", "; 7\n" + box, {""}, {3}, {""}, ""},
        {"floor rows inside", "####\n#@$.#\n####\n-\n__\n###\n#.#\n###\n", {""}, {8}, {""}, ""},
        {"floor rows ending a level", box + "---\n\n---\n" + box, {"", ""}, {4, 3}, {"", ""}, ""},
        {"collection header",
         "Collection: My Set\nAuthor: Ann\n\n" + box,
         {""},
         {3},
         {""},
         "My Set"},
        {"the head's title", "Title: The Set\n\nTitle: One\n" + box, {"One"}, {3}, {""}, "The Set"},
        {"solutions below",
         box + "Solution (moves 1, pushes 1):\nR\n\n" + box + "Solution: 2r\nR\nTitle: Two\n",
         {"", "Two"},
         {3, 3},
         {"R", "2rR"},
         ""},
        {"a solution ends at other text",
         box + "Solution:\nrR\nLevel B\n" + box,
         {"", "Level B"},
         {3, 3},
         {"rR", ""},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TextLevel> levels;
        LevelTextReader reader([&](TextLevel& l) { levels.push_back(l); });
        reader.feed(c.text);
        reader.finish();
        ASSERT_EQ(levels.size(), c.titles.size());
        for (std::size_t k = 0; k < levels.size(); ++k) {
            EXPECT_EQ(levels[k].title, c.titles[k]) << k;
            EXPECT_EQ(levels[k].rowCount, c.rowCounts[k]) << k;
            EXPECT_EQ(levels[k].solution, c.solutions[k]) << k;
        }
        EXPECT_EQ(reader.collectionName(), c.collection);
    }
}

TEST(CoreLevelText, TheSingleFileRules) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> codes; // of the one level's board
        int worker;
    } cases[] = {
        {"plain", join(kSmall), {"11111", "12431", "11111"}, 6},
        // Lines with anything but the seven characters are skipped wherever
        // they stand; the blocks around them are one picture.
        {"title, comment and tab lines dropped",
         "Title: x\n#####\n; note\n#@$.#\n#\t#\n\n#####\n",
         {"11111", "12431", "11111"},
         6},
        {"dash and underscore lines dropped",
         "#####\n#@-.#\n#@_.#\n#####\n",
         {"11111", "11111"},
         0},
        {"the later of two workers", "#####\n#@ @#\n#####\n", {"11111", "12221", "11111"}, 8},
        {"leading blanks are outside", "  ###\n  #@#\n  ###\n", {"00111", "00121", "00111"}, 8},
        // The worker's cell is floor like any other for the straight runs.
        {"a worker open to the edge",
         "@####\n #  #\n #$.#\n ####\n",
         {"01111", "01221", "01431", "01111"},
         0},
        {"no worker: the top-left corner", "#####\n# $.#\n#####\n", {"11111", "12431", "11111"}, 0},
    };
    for (const auto& c : cases) {
        const auto levels = read(c.text, ReadMode::SingleLevel);
        ASSERT_EQ(levels.size(), 1u) << c.what;
        const Board b = levels[0].board();
        EXPECT_EQ(codes(b), c.codes) << c.what;
        EXPECT_EQ(b.worker, c.worker) << c.what;
    }
    EXPECT_TRUE(read("Title: nothing\n\n", ReadMode::SingleLevel).empty());
    // A byte-order mark spoils the first line: it is no row there.
    EXPECT_EQ(read("\xef\xbb\xbf" + join(kSmall), ReadMode::SingleLevel)[0].rowCount, 2);
}

TEST(CoreLevelText, OutsideRulesOfTheTwoModes) {
    // The blank at row 1, column 5 is walled in on all four straight lines
    // but reached from the edge round the corner: outside in a collection,
    // floor in a single file.
    const std::string text = join({"####### ", "#@$.# # ", "#   #   ", "########"});
    EXPECT_EQ(codes(read(text)[0].board()),
              (std::vector<std::string>{"11111110", "12431010", "12221000", "11111111"}));
    EXPECT_EQ(codes(read(text, ReadMode::SingleLevel)[0].board()),
              (std::vector<std::string>{"11111110", "12431210", "12221000", "11111111"}));

    // A worker outside the walls with a straight run of floor below him: a
    // collection keeps his cell, a single file's rule takes it like any floor.
    const std::string open = join({" #### ", " #.$#", "##@###", "    "});
    const Board kept = read(open)[0].board();
    EXPECT_EQ(kept.at(kept.worker), kFloor);
    const Board taken = read(open, ReadMode::SingleLevel)[0].board();
    EXPECT_EQ(taken.at(taken.worker), kOutside);
}

TEST(CoreLevelText, SizesUpToSixtyFour) {
    const std::string row64 = "#" + std::string(62, ' ') + "#";
    std::vector<std::string> big(64, row64);
    big.front() = big.back() = std::string(64, '#');
    big[1][1] = '@';
    struct Case {
        const char* what;
        std::string text;
        ReadMode mode;
        bool fitsGame; // 22 x 34
        bool fitsCore; // 64 x 64
        int boardCols; // on the game's grid
    } cases[] = {
        {"64 x 64", join(big), ReadMode::Collection, false, true, 64},
        {"64 x 64 single", join(big), ReadMode::SingleLevel, false, true, 64},
        {"65 rows", join(big) + "#\n", ReadMode::Collection, false, false, 0},
        {"65 columns", "#" + join(big), ReadMode::SingleLevel, false, false, 0},
        {"22 x 34", join(std::vector<std::string>(22, std::string(34, '#'))), ReadMode::SingleLevel,
         true, true, 34},
        {"23 rows", join(std::vector<std::string>(23, "#")), ReadMode::SingleLevel, false, true, 1},
        {"35 columns", join({"#", std::string(35, '#')}), ReadMode::Collection, false, true, 35},
        // Trailing blanks make a collection's level no wider than it is...
        {"trailing blanks", join({"#####" + std::string(40, ' '), "#@$.#", "#####"}),
         ReadMode::Collection, true, true, 5},
        // ... but a single file is as wide as its longest line.
        {"trailing blanks single", join({"#####" + std::string(40, ' '), "#@$.#", "#####"}),
         ReadMode::SingleLevel, false, true, 45},
        {"a row longer than any line is kept", std::string(200000, '#') + "\n",
         ReadMode::Collection, false, false, 0},
    };
    for (const auto& c : cases) {
        const auto levels = read(c.text, c.mode);
        ASSERT_EQ(levels.size(), 1u) << c.what;
        EXPECT_EQ(levels[0].fits(22, 34), c.fitsGame) << c.what;
        EXPECT_EQ(levels[0].fits(), c.fitsCore) << c.what;
        if (c.fitsCore) {
            EXPECT_EQ(levels[0].board(34).cols, c.boardCols) << c.what;
        }
    }
}

TEST(CoreLevelText, AnyChunkingGivesTheSameLevels) {
    const std::string text =
        "\xef\xbb\xbf" + join(kSmall, "\r\n") + "Title: a\r\n\r\n" +
        join({"  #### #", "  #  ###", "#### @.#", "#  $   #", " ###### "}, "\r\n") + "Title: b\r";
    for (const ReadMode mode : {ReadMode::Collection, ReadMode::SingleLevel}) {
        const auto whole = read(text, mode);
        ASSERT_FALSE(whole.empty());
        for (const std::size_t piece : {1u, 2u, 3u, 7u}) {
            std::vector<TextLevel> got;
            LevelTextReader reader([&](TextLevel& l) { got.push_back(l); }, mode);
            for (std::size_t at = 0; at < text.size(); at += piece)
                reader.feed(std::string_view(text).substr(at, piece));
            reader.finish();
            ASSERT_EQ(got.size(), whole.size()) << piece;
            for (std::size_t k = 0; k < got.size(); ++k) {
                EXPECT_EQ(got[k].board(), whole[k].board()) << piece;
                EXPECT_EQ(got[k].title, whole[k].title) << piece;
                EXPECT_EQ(got[k].firstLine, whole[k].firstLine) << piece;
            }
        }
    }
}

TEST(CoreLevelText, Utf16WithItsMarkReadsAsText) {
    const std::string text = "Title: \xe5\xae\xbd\r\n" + join(kSmall, "\r\n");
    std::string le = "\xff\xfe", be = "\xfe\xff";
    const std::u16string units = u"Title: \u5bbd\r\n#####\r\n#@$.#\r\n#####\r\n";
    for (const char16_t u : units) {
        le += {static_cast<char>(u & 0xff), static_cast<char>(u >> 8)};
        be += {static_cast<char>(u >> 8), static_cast<char>(u & 0xff)};
    }
    for (const std::string& wide : {le, be}) {
        const auto levels = read(wide);
        ASSERT_EQ(levels.size(), 1u);
        EXPECT_EQ(levels[0].title, "\xe5\xae\xbd");
        EXPECT_EQ(levels[0].board(), read(text)[0].board());
    }
}

TEST(CoreLevelText, FirstLevelStatus) {
    struct Case {
        const char* what;
        std::string text;
        ReadMode mode;
        TextStatus status;
        int count;
    } cases[] = {
        {"one level", join(kSmall), ReadMode::Collection, TextStatus::Ok, 1},
        {"two levels", join(kSmall) + "\n" + join(kSmall), ReadMode::Collection, TextStatus::Ok, 2},
        {"two blocks of a single file", join(kSmall) + "\n" + join(kSmall), ReadMode::SingleLevel,
         TextStatus::Ok, 1},
        {"nothing", "", ReadMode::Collection, TextStatus::NoLevel, 0},
        {"only words", "Title: x\n", ReadMode::SingleLevel, TextStatus::NoLevel, 0},
        {"first too big", join(std::vector<std::string>(23, "#@")) + "\n" + join(kSmall),
         ReadMode::Collection, TextStatus::TooBig, 2},
    };
    for (const auto& c : cases) {
        FirstLevelReader r(c.mode);
        r.feed(c.text);
        r.finish();
        EXPECT_EQ(r.status(22, 34), c.status) << c.what;
        EXPECT_EQ(r.levelCount(), c.count) << c.what;
        EXPECT_EQ(r.first().has_value(), c.status != TextStatus::NoLevel) << c.what;
    }
    // A single file is settled once it is too big for the grid.
    FirstLevelReader single(ReadMode::SingleLevel);
    single.feed(join(std::vector<std::string>(22, "#")));
    EXPECT_FALSE(single.settled(22, 34));
    single.feed("#\n");
    EXPECT_TRUE(single.settled(22, 34));
    FirstLevelReader wide(ReadMode::SingleLevel);
    wide.feed(std::string(35, '#') + "\n");
    EXPECT_TRUE(wide.settled(22, 34));
}

TEST(CoreLevelText, CleanTitles) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"  Small  ", "Small"},
        {"a\tb\x01"
         "c",
         "a b c"},
        {"\xe5\xae\xbd", "\xe5\xae\xbd"},
        {"bad \xff byte", "bad ? byte"},
        {"cut \xe5\xae", "cut ??"},
        {std::string(300, 'x'), std::string(200, 'x')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleanTitle(c.in), c.out) << c.in;
}

} // namespace
} // namespace sokoban::core
