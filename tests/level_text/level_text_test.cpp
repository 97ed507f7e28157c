#include "../test_files.h"
#include "storage/level_text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sokoban {
namespace {

using testing::join;

std::string codes(const TMazeData& m, int row, int col, int n) {
    std::string s;
    for (int k = 0; k < n; ++k)
        s += char('0' + m.cells[static_cast<std::size_t>(row * kCols + col + k)]);
    return s;
}

const std::vector<std::string> kSmall = {"#####", "#@$.#", "#####"};
const std::vector<std::string> kWide = {"  #### #", "  #  ###", "#### @.#", "#  $   #", " ###### "};

// Texts other programs write for one level, each read as the plain rows are.
TEST(LevelTextReader, TolerantFormsOfOneLevel) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> plain;
    } cases[] = {
        {"byte-order mark", "\xef\xbb\xbf" + join(kSmall, "\r\n"), kSmall},
        {"lone CR", join(kSmall, "\r"), kSmall},
        {"no line end at the end", "#####\n#@$.#\n#####", kSmall},
        {"tab as floor", "#####\n#@\t$.#\n######\n", {"#####", "#@ $.#", "######"}},
        {"dash and underscore", "--#####\n--#@-_.#\n--#####\n", {"  #####", "  #@  .#", "  #####"}},
        {"trailing blanks", "#####   \n#@$.#\n#####\n", {"#####   ", "#@$.#", "#####"}},
        {"run lengths", "5#\n#@$.#\n5#\n", kSmall},
        {"rows split by bars", "5#|#@$.#|5#\n", kSmall},
        {"run lengths of floor", "2-4#|2-#@.#|2-4#\n", {"  ####", "  #@.#", "  ####"}},
        {"title and author below", join(kSmall) + "Title: Small\nAuthor: Team\n", kSmall},
        {"metadata above", "Title: Small\n; made by the team\n\n" + join(kSmall), kSmall},
        {"comment block", join(kSmall) + "Comment:\n#####\n#@$.#\nComment-End:\n", kSmall},
        {"wider than the grid only by trailing blanks",
         join({"#####" + std::string(40, ' '), "#@$.#", "#####"}), kSmall},
    };
    for (const auto& c : cases) {
        const LevelTextSummary s = summariseLevelText(c.text);
        const LevelTextSummary plain = summariseLevelText(join(c.plain));
        EXPECT_EQ(s.status, XsbStatus::Ok) << c.what;
        EXPECT_EQ(s.levelCount, 1) << c.what;
        EXPECT_EQ(s.first, plain.first) << c.what;
    }
}

// A plain single file gives exactly what the single-file reader gives.
TEST(LevelTextReader, OneLevelAsTheSingleFileReaderGivesIt) {
    const std::string row34(34, '#');
    const std::vector<std::string> texts = {
        join(kSmall),
        join(kWide),
        join({"  ###", "  #@#", "  ###"}),
        join({"#####", "#@ @#", "#####"}),
        join({"#####", "# $.#", "#####"}),
        join(std::vector<std::string>(22, row34)),
        "",
        "Title: nothing to play\n",
    };
    for (const auto& t : texts) {
        const LevelTextSummary s = summariseLevelText(t);
        const XsbResult old = parseXsb(t);
        ASSERT_EQ(s.status, old.status) << t;
        EXPECT_EQ(s.first, old.maze) << t;
    }
    for (const auto& t :
         {join(std::vector<std::string>(23, "#")), join({"#", std::string(35, '#')})}) {
        EXPECT_EQ(summariseLevelText(t).status, XsbStatus::TooBig);
        EXPECT_EQ(parseXsb(t).status, XsbStatus::TooBig);
    }
}

TEST(LevelTextReader, OutsideIsWhatTheEdgeReaches) {
    // The blank at row 1, column 5 is walled in on all four straight lines
    // but reached from the edge round the corner: outside, not a hole.
    const std::string text = join({"####### ", "#@$.# # ", "#   #   ", "########"});
    const TMazeData m = summariseLevelText(text).first;
    const int top = 9, left = 13;
    EXPECT_EQ(codes(m, top + 1, left, 8), "12431010");
    EXPECT_EQ(codes(m, top + 2, left, 8), "12221000");
    EXPECT_EQ(codes(parseXsb(text).maze, top + 1, left, 8), "12431210");
    // Floor inside the walls stays floor, the worker's cell too.
    const TMazeData inner = summariseLevelText(join({"@####", " #  #", " #$.#", " ####"})).first;
    EXPECT_EQ(inner.cells[static_cast<std::size_t>(inner.man)], kFloor);
}

TEST(LevelTextReader, CollectionsSplitIntoLevelsWithTheirTitles) {
    const std::string text = "\xef\xbb\xbf; A collection\r\n; by the team\r\n\r\n"
                             "; 1\r\n#####\r\n#@$.#\r\n#####\r\nTitle: First\r\nAuthor: Ann\r\n\r\n"
                             "Title: Second\r\n####\r\n#@*#\r\n####\r\n"
                             "Title: Third\r\n"
                             "5#|#@$.#|5#\r\n"
                             "   \r\n"
                             "######\r\n#@ $.#\r\n######\r\n"
                             "Comment:\r\nTitle: not a title\r\nComment-End:\r\nAuthor: Bob\r\n"
                             "----------\r\n"
                             "#####\r\n#@$.#\r\n#####\r\n";
    const auto levels = parseLevelText(text);
    ASSERT_EQ(levels.size(), 5u);
    const std::pair<const char*, const char*> meta[] = {
        {"First", "Ann"}, {"Second", ""}, {"Third", ""}, {"", "Bob"}, {"", ""}};
    for (std::size_t k = 0; k < levels.size(); ++k) {
        EXPECT_EQ(levels[k].number, int(k) + 1);
        EXPECT_EQ(levels[k].title, meta[k].first) << k;
        EXPECT_EQ(levels[k].author, meta[k].second) << k;
        EXPECT_EQ(levels[k].rowCount, 3) << k;
        EXPECT_TRUE(levels[k].hasWorker());
    }
    EXPECT_EQ(levelMaze(levels[2]), summariseLevelText(join(kSmall)).first);
}

TEST(LevelTextReader, TooLargeAndUnplayableLevelsAreMarked) {
    const std::string text = join(std::vector<std::string>(23, "#@")) + "\n" +
                             join({"#", std::string(35, '#')}) + "\n" + join({"#####", "#$.##"}) +
                             "\n" + std::string(200000, '#') + "\n\n" + join(kSmall);
    const auto levels = parseLevelText(text);
    ASSERT_EQ(levels.size(), 5u);
    EXPECT_TRUE(tooLarge(levels[0]));
    EXPECT_TRUE(tooLarge(levels[1]));
    EXPECT_FALSE(tooLarge(levels[2]));
    EXPECT_FALSE(levels[2].hasWorker());
    EXPECT_TRUE(tooLarge(levels[3])); // a row longer than any line is kept
    EXPECT_FALSE(tooLarge(levels[4]));
}

TEST(LevelTextReader, AnyChunkingGivesTheSameLevels) {
    const std::string text = "\xef\xbb\xbf" + join(kSmall, "\r\n") + "Title: a\r\n\r\n" +
                             join(kWide, "\r\n") + "Title: b\r\n";
    std::vector<TextLevel> whole = parseLevelText(text);
    for (std::size_t piece : {1u, 2u, 3u, 7u}) {
        std::vector<TextLevel> got;
        LevelTextReader reader([&](TextLevel& l) { got.push_back(l); });
        for (std::size_t at = 0; at < text.size(); at += piece)
            reader.feed(std::string_view(text).substr(at, piece));
        reader.finish();
        ASSERT_EQ(got.size(), whole.size());
        for (std::size_t k = 0; k < got.size(); ++k) {
            EXPECT_EQ(levelMaze(got[k]), levelMaze(whole[k]));
            EXPECT_EQ(got[k].title, whole[k].title);
        }
    }
}

// UTF-16 of a UTF-8 text, with its byte-order mark.
std::string utf16(const std::string& utf8, bool bigEndian) {
    std::u32string points;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? b : b & (0x3F >> (n - 1));
        for (int k = 1; k < n; ++k)
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        points += c;
        i += static_cast<std::size_t>(n);
    }
    std::u16string units;
    for (const char32_t c : points) {
        if (c < 0x10000) {
            units += static_cast<char16_t>(c);
        } else {
            units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    std::string out = bigEndian ? "\xfe\xff" : "\xff\xfe";
    for (const char16_t u : units) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

// Editors on other systems save text as UTF-16: with its byte-order mark it
// reads as the same text in UTF-8, titles in any script included, however
// the bytes arrive.
TEST(LevelTextReader, Utf16WithAByteOrderMarkReadsAsText) {
    const std::string text = "Title: 小仓库 \xf0\x9f\x93\xa6\r\n" + join(kSmall, "\r\n") + "\r\n" +
                             join(kWide, "\r\n") + "Title: 宽\r\n";
    const std::vector<TextLevel> plain = parseLevelText(text);
    ASSERT_EQ(plain.size(), 2u);
    for (const bool bigEndian : {false, true}) {
        const std::string wide = utf16(text, bigEndian);
        for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, wide.size()}) {
            SCOPED_TRACE(std::to_string(bigEndian) + " " + std::to_string(piece));
            std::vector<TextLevel> got;
            LevelTextReader reader([&](TextLevel& l) { got.push_back(l); });
            for (std::size_t at = 0; at < wide.size(); at += piece)
                reader.feed(std::string_view(wide).substr(at, piece));
            reader.finish();
            ASSERT_EQ(got.size(), plain.size());
            for (std::size_t k = 0; k < got.size(); ++k) {
                EXPECT_EQ(levelMaze(got[k]), levelMaze(plain[k]));
                EXPECT_EQ(got[k].title, plain[k].title);
            }
        }
    }
    // Without the mark the bytes are what they are: UTF-16 that is not
    // marked as such holds no level rows.
    EXPECT_EQ(summariseLevelText(utf16(text, false).substr(2)).levelCount, 0);
    // A lone half of a pair, and a last odd byte, spoil nothing else.
    const std::string broken = utf16(join(kSmall), false) + "\x3d\xd8" + "\n";
    EXPECT_EQ(summariseLevelText(broken).first, summariseLevelText(join(kSmall)).first);
    EXPECT_EQ(summariseLevelText("#").levelCount, 1);
}

TEST(LevelTextWriter, EntriesReadBackAsTheSameLevels) {
    std::string text;
    const auto levels = parseLevelText(join(kSmall) + "\n" + join(kWide));
    for (std::size_t k = 0; k < levels.size(); ++k)
        text += collectionEntry(centredLevel(levelMaze(levels[k])), int(k) + 1,
                                k == 0 ? "" : "Wide\tone", k == 0 ? "Ann" : "",
                                [](int n) { return "第 " + std::to_string(n) + " 关"; });
    const std::string first = "#####\r\n#@$.#\r\n#####\r\nTitle: 第 1 关\r\nAuthor: Ann\r\n\r\n";
    EXPECT_EQ(text.substr(0, first.size()), first);
    const auto back = parseLevelText(text);
    ASSERT_EQ(back.size(), 2u);
    for (std::size_t k = 0; k < back.size(); ++k)
        EXPECT_EQ(centredLevel(levelMaze(back[k])), centredLevel(levelMaze(levels[k])));
    EXPECT_EQ(back[1].title, "Wide one");
}

TEST(SolutionText, LettersBothWays) {
    const TMazeData level = summariseLevelText(join({"#######", "#@ $ .#", "#######"})).first;
    TAnswerData a;
    for (int i = 0; i < 3; ++i)
        a.setMove(i, 3);
    a.moves = 3;
    EXPECT_EQ(solutionText(level, a), "rRR");

    struct Case {
        std::string text;
        SolutionError error;
        int moves;
    } cases[] = {
        {"rRR", SolutionError::None, 3},
        {"r r\r\nr", SolutionError::None, 3},
        {"3r", SolutionError::None, 3},
        {"rRRRl", SolutionError::None, 3}, // moves after the last push are dropped
        {"rR", SolutionError::NotSolved, 0},
        {"u", SolutionError::Blocked, 0},
        {"rx", SolutionError::BadCharacter, 0},
        {"r3", SolutionError::BadCharacter, 0},
        {" \n", SolutionError::Empty, 0},
        {"4097r", SolutionError::TooLong, 0},
    };
    for (const auto& c : cases) {
        const SolutionParse p = parseSolution(level, c.text);
        EXPECT_EQ(p.error, c.error) << c.text;
        if (c.error == SolutionError::None) {
            EXPECT_EQ(p.answer.moves, c.moves);
            EXPECT_EQ(solutionText(level, p.answer), "rRR");
        }
    }
    EXPECT_EQ(parseSolution(level, "rrl u").move, 4);
}

} // namespace
} // namespace sokoban
