#include "storage/level_collection.h"
#include "storage/level_set.h"
#include "storage/level_stats.h"
#include "storage/long_answers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace sokoban {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path;
    TempDir() {
        static int n = 0;
        path = fs::temp_directory_path() /
               ("sokoban-collection-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

void writeText(const fs::path& p, const std::string& s) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << s;
}

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A distinct small level for every n: a corridor of n + 2 cells.
std::string rows(int n) {
    const std::string wall(std::size_t(n) + 5, '#');
    return wall + "\n#@" + std::string(std::size_t(n), ' ') + "$.#\n" + wall + "\n";
}

std::string level(int n, const std::string& title = "", const std::string& author = "") {
    std::string s = rows(n);
    if (!title.empty()) s += "Title: " + title + "\n";
    if (!author.empty()) s += "Author: " + author + "\n";
    return s + "\n";
}

std::vector<TMazeData> boxLevels(const std::string& box) {
    const std::string bytes = readText(box);
    std::vector<TMazeData> out;
    for (std::size_t at = 0; at + 750 <= bytes.size(); at += 750)
        out.push_back(TMazeData::decode(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data() + at), 750)));
    return out;
}

template <class R> void writeRecords(const fs::path& p, const std::vector<R>& recs) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    for (const auto& r : recs) {
        const Bytes b = r.encode();
        out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    }
}

template <class R> std::vector<R> readRecords(const fs::path& p) {
    const std::string bytes = readText(p);
    std::vector<R> out;
    for (std::size_t at = 0; at + R::kSize <= bytes.size(); at += R::kSize)
        out.push_back(R::decode(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data() + at), R::kSize)));
    return out;
}

TEST(LevelCollection, ImportsOnceAndFindsTheSetAgain) {
    TempDir dir;
    const fs::path file = dir.path / "Corridors.sok";
    writeText(file, level(1, "One") + level(2) + level(3, "Three"));
    const OpenedLevelText first = openLevelTextFile(file, dir.path / "levels");
    ASSERT_TRUE(first.collection);
    EXPECT_EQ(first.set.boxFile, (dir.path / "levels" / "Corridors.box").string());
    EXPECT_TRUE(first.set.built);
    EXPECT_EQ(first.set.imported, 3);
    EXPECT_TRUE(first.set.tooLarge.empty());
    EXPECT_TRUE(first.set.unreadable.empty());
    EXPECT_EQ(first.set.beyondLimit, 0);
    EXPECT_EQ(fs::file_size(first.set.boxFile), 3u * 750u);
    EXPECT_EQ(readLevelIndex(first.set.boxFile),
              (std::vector<LevelInfo>{{"One", ""}, {"", ""}, {"Three", ""}}));
    const auto levels = boxLevels(first.set.boxFile);
    EXPECT_EQ(levels[0], centredLevel(summariseLevelText(level(1)).first));

    // Again, and again after the file was touched: the same set, as it was.
    const std::string boxBytes = readText(first.set.boxFile);
    const OpenedLevelText again = openLevelTextFile(file, dir.path / "levels");
    EXPECT_EQ(again.set.boxFile, first.set.boxFile);
    EXPECT_FALSE(again.set.built);
    fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(5));
    const OpenedLevelText touched = openLevelTextFile(file, dir.path / "levels");
    EXPECT_EQ(touched.set.boxFile, first.set.boxFile);
    EXPECT_FALSE(touched.set.built);
    EXPECT_EQ(readText(first.set.boxFile), boxBytes);

    // Another file of the same name elsewhere gets a set of its own.
    fs::create_directories(dir.path / "other");
    writeText(dir.path / "other" / "Corridors.sok", level(4) + level(5));
    const OpenedLevelText other =
        openLevelTextFile(dir.path / "other" / "Corridors.sok", dir.path / "levels");
    EXPECT_EQ(other.set.boxFile, (dir.path / "levels" / "Corridors-2.box").string());
    EXPECT_EQ(readText(first.set.boxFile), boxBytes);
}

TEST(LevelCollection, LevelsThatCannotBePlayedAreLeftOutAndNamed) {
    TempDir dir;
    const fs::path file = dir.path / "mixed.xsb";
    std::string text;
    for (int n = 1; n <= 20; ++n) {
        if (n == 7 || n == 12)
            text += std::string(70, '#') + "\n#@$." + std::string(66, ' ') + "#\n\n";
        else if (n == 15)
            text += "#####\n#$ .#\n#####\n\n";
        else
            text += level(n);
    }
    writeText(file, text);
    const OpenedLevelText got = openLevelTextFile(file, dir.path);
    ASSERT_TRUE(got.collection);
    EXPECT_EQ(got.set.imported, 17);
    EXPECT_EQ(fs::file_size(got.set.boxFile), 17u * 750u);
    EXPECT_EQ(got.set.levels, 20);
    EXPECT_EQ(got.set.tooLarge, (std::vector<int>{7, 12}));
    EXPECT_EQ(got.set.unreadable, std::vector<int>{15});
    EXPECT_EQ(got.set.beyondLimit, 0);

    writeText(file, level(1) + std::string(70, '#') + "\n");
    const OpenedLevelText one = openLevelTextFile(file, dir.path);
    EXPECT_EQ(one.set.imported, 1);
    EXPECT_EQ(one.set.tooLarge, std::vector<int>{2});
    EXPECT_TRUE(one.set.unreadable.empty());
    writeText(file, std::string(70, '#') + "\n\n" + std::string(80, '#') + "\n");
    const OpenedLevelText none = openLevelTextFile(file, dir.path);
    EXPECT_TRUE(none.collection);
    EXPECT_EQ(none.set.boxFile, "");
    EXPECT_EQ(none.set.imported, 0);
    EXPECT_EQ(none.set.tooLarge, (std::vector<int>{1, 2}));
}

// A hall too large for a level record: `rows` x `cols` inside its walls,
// the worker and a box in the top row, the target `shift` cells further.
std::vector<std::string> hall(int rows, int cols, int shift) {
    std::vector<std::string> r(std::size_t(rows) + 2,
                               "#" + std::string(std::size_t(cols), ' ') + "#");
    r.front() = r.back() = std::string(std::size_t(cols) + 2, '#');
    r[1][1] = '@';
    r[1][2] = '$';
    r[1][std::size_t(3 + shift)] = '.';
    return r;
}

std::string text(const std::vector<std::string>& rows) {
    std::string s;
    for (const auto& r : rows)
        s += r + "\n";
    return s + "\n";
}

TEST(LevelCollection, LevelsLargerThanARecordKeepTheirBoardsNumbersAndRecords) {
    TempDir dir;
    const fs::path file = dir.path / "halls.txt";
    const auto wide = hall(20, 60, 1), tall = hall(60, 10, 2), huge = hall(5, 70, 0);
    writeText(file, level(1) + text(wide) + level(2) + text(huge) + text(tall));
    const OpenedLevelText got = openLevelTextFile(file, dir.path);
    ASSERT_TRUE(got.collection);
    EXPECT_EQ(got.set.imported, 4);
    EXPECT_EQ(got.set.tooLarge, std::vector<int>{4}); // past 64 x 64
    const std::string box = got.set.boxFile;
    EXPECT_EQ(fs::file_size(box), 4u * 750u);
    EXPECT_EQ(boxLevels(box)[1], TMazeData{}); // the record holds nothing

    const auto index = readCollectionIndex(box);
    ASSERT_TRUE(index);
    EXPECT_EQ(index->largeBoard(1), nullptr);
    ASSERT_NE(index->largeBoard(2), nullptr);
    ASSERT_NE(index->largeBoard(4), nullptr);
    EXPECT_EQ(index->largeBoard(2)->rows, 22);
    EXPECT_EQ(index->largeBoard(2)->cols, 62);
    EXPECT_EQ(core::toXsbRows(*index->largeBoard(4)), tall);
    EXPECT_EQ(index->textNumber(4), 5);

    // The export writes the boards whole.
    saveCollection(dir.path / "out.txt", box, [](int n) { return "L" + std::to_string(n); });
    const std::string out = readText(dir.path / "out.txt");
    EXPECT_NE(out.find(wide[1] + "\r\n"), std::string::npos);
    EXPECT_NE(out.find(tall[60] + "\r\n"), std::string::npos);

    // Records follow the large levels when the text swaps them: their
    // records alike (empty), the boards tell them apart.
    const std::string base = companionBase(box);
    writeRecords<TBestData>(base + ".bst", {{0, 0}, {7, 7}, {0, 0}, {9, 9}});
    writeText(file, level(1) + text(tall) + level(2) + text(huge) + text(wide));
    const OpenedLevelText swapped = openLevelTextFile(file, dir.path);
    ASSERT_EQ(swapped.set.boxFile, box);
    EXPECT_EQ(readRecords<TBestData>(base + ".bst"),
              (std::vector<TBestData>{{0, 0}, {9, 9}, {0, 0}, {7, 7}}));
    EXPECT_EQ(core::toXsbRows(*readCollectionIndex(box)->largeBoard(2)), tall);

    // A damaged board in the index is no board; the next opening reads it
    // again from the text, the records left as they are.
    std::string idx = readText(levelIndexFile(box));
    const auto at = idx.find("22 62 ");
    ASSERT_NE(at, std::string::npos);
    idx.replace(at, 2, "23");
    writeText(levelIndexFile(box), idx);
    EXPECT_EQ(readCollectionIndex(box)->largeBoard(4), nullptr);
    ASSERT_EQ(openLevelTextFile(file, dir.path).set.boxFile, box);
    ASSERT_NE(readCollectionIndex(box)->largeBoard(4), nullptr);
    EXPECT_EQ(core::toXsbRows(*readCollectionIndex(box)->largeBoard(4)), wide);
    EXPECT_EQ(readRecords<TBestData>(base + ".bst"),
              (std::vector<TBestData>{{0, 0}, {9, 9}, {0, 0}, {7, 7}}));
}

TEST(LevelCollection, ChangedLevelsRebuildTheSetAndKeepTheRecordsOfTheOthers) {
    TempDir dir;
    const fs::path file = dir.path / "c.txt";
    writeText(file, level(1) + level(2) + level(3) + level(4));
    const std::string box = openLevelTextFile(file, dir.path).set.boxFile;
    const std::string base = companionBase(box);
    // Levels 1..3 solved (level 4 unlocked), answers for 1 and 3, slots on
    // levels 2 and 4.
    writeRecords<TBestData>(base + ".bst", {{10, 1}, {20, 2}, {30, 3}, {0, 0}});
    std::vector<TAnswerData> sol(4);
    for (int k : {0, 2}) {
        sol[size_t(k)].level = std::int16_t(k + 1);
        sol[size_t(k)].moves = std::int16_t(k + 3);
        sol[size_t(k)].setMove(0, k);
    }
    writeRecords(base + ".sol", sol);
    std::vector<TSaveData> sav(6, freshSaveRecord());
    sav[0].level = 4;
    sav[1] = {2, 5, 1, 40, {}};
    sav[2] = {4, 7, 2, 41, {}};
    writeRecords(base + ".sav", sav);

    // Level 2 goes, a new level comes first, level 4 changes.
    writeText(file, level(9) + level(1) + level(3) + level(14));
    const OpenedLevelText rebuilt = openLevelTextFile(file, dir.path);
    ASSERT_EQ(rebuilt.set.boxFile, box);
    EXPECT_TRUE(rebuilt.set.built);
    EXPECT_EQ(boxLevels(box).size(), 4u);
    EXPECT_EQ(readRecords<TBestData>(base + ".bst"),
              (std::vector<TBestData>{{0, 0}, {10, 1}, {30, 3}, {0, 0}}));
    const auto newSol = readRecords<TAnswerData>(base + ".sol");
    ASSERT_EQ(newSol.size(), 4u);
    EXPECT_EQ(newSol[0].moves, 0);
    EXPECT_EQ(newSol[1].moves, 3);
    EXPECT_EQ(newSol[1].level, 2);
    EXPECT_EQ(newSol[2].moves, 5);
    EXPECT_EQ(newSol[2].level, 3);
    EXPECT_EQ(newSol[2].moveAt(0), 2);
    EXPECT_EQ(newSol[3].moves, 0);
    const auto newSav = readRecords<TSaveData>(base + ".sav");
    ASSERT_EQ(newSav.size(), 6u);
    EXPECT_EQ(newSav[0].level, 1);           // the new first level has not been passed
    EXPECT_EQ(newSav[1], freshSaveRecord()); // its level is gone
    EXPECT_EQ(newSav[2], freshSaveRecord()); // its level changed
    EXPECT_EQ(newSav[3], freshSaveRecord());

    // Passed levels that stay at the front stay unlocked; a slot follows
    // its level.
    writeText(file, level(9) + level(1) + level(3) + level(14));
    sav[0].level = 4;
    sav[1] = {3, 5, 1, 40, {}};
    writeRecords(base + ".sav", sav);
    writeText(file, level(9) + level(1) + level(5) + level(3) + level(14));
    openLevelTextFile(file, dir.path);
    const auto later = readRecords<TSaveData>(base + ".sav");
    EXPECT_EQ(later[0].level, 3);
    EXPECT_EQ(later[1].level, 4);
}

TEST(LevelCollection, SetToCollectionToSet) {
    TempDir dir;
    const fs::path file = dir.path / "source.xsb";
    writeText(file, "\xef\xbb\xbf" + level(1, "Start", "Ann") + level(2) +
                        "--#####\n--#@-$.#\n--#####\n;\n" + "5#|#.$@#|5#\n\n" +
                        "####\n#@*#\n##\n  \n");
    const std::string box = openLevelTextFile(file, dir.path / "sets").set.boxFile;
    ASSERT_EQ(boxLevels(box).size(), 5u);
    const fs::path exported = dir.path / "exported.xsb";
    saveCollection(exported, box, [](int n) { return "Level " + std::to_string(n); });
    const std::string text = readText(exported);
    const std::string head = "######\r\n#@ $.#\r\n######\r\nTitle: Start\r\nAuthor: Ann\r\n\r\n"
                             "#######\r\n#@  $.#\r\n#######\r\nTitle: Level 2\r\n\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find("Title: Level 5\r\n"), std::string::npos);

    const OpenedLevelText back = openLevelTextFile(exported, dir.path / "sets");
    ASSERT_TRUE(back.collection);
    EXPECT_NE(back.set.boxFile, box);
    EXPECT_EQ(readText(back.set.boxFile), readText(box));
    const auto infos = readLevelIndex(back.set.boxFile);
    ASSERT_EQ(infos.size(), 5u);
    EXPECT_EQ(infos[0], (LevelInfo{"Start", "Ann"}));
    EXPECT_EQ(infos[4], (LevelInfo{"Level 5", ""}));
}

// A collection keeps its name, the numbers its levels have in the text
// (also after a level left out), and the solutions written in it.
TEST(LevelCollection, NamesNumbersAndSolutionsAsPublished) {
    TempDir dir;
    const fs::path file = dir.path / "source.sok";
    const std::string tooWide = "#" + std::string(70, ' ') + "#\n#@$." + std::string(64, ' ') +
                                "#\n" + std::string(72, '#') + "\n\n";
    writeText(file, "Collection: Corridors\n\n" + level(1, "One") + tooWide + rows(2) +
                        "Solution (moves 3, pushes 1):\nrrR\n\n" + rows(3) +
                        "Solution: rrrL\n\n" + // stops short of the target: not kept
                        rows(4) + "Solution: uR\n");
    const OpenedLevelText opened = openLevelTextFile(file, dir.path / "sets");
    ASSERT_TRUE(opened.collection);
    EXPECT_EQ(opened.set.imported, 4);
    EXPECT_EQ(opened.set.tooLarge, std::vector<int>{2});
    EXPECT_EQ(opened.set.answers, 1);

    const auto index = readCollectionIndex(opened.set.boxFile);
    ASSERT_TRUE(index);
    EXPECT_EQ(index->name, "Corridors");
    EXPECT_EQ(index->textLevels, 5);
    EXPECT_EQ(index->textNumbers, (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(index->textNumber(2), 3);
    EXPECT_EQ(index->textNumber(9), 9);
    EXPECT_EQ(readLevelIndex(opened.set.boxFile)[0], (LevelInfo{"One", ""}));

    const CompanionFiles f = CompanionFiles::forGame(opened.set.boxFile, {});
    EXPECT_EQ(f.sol.get<TAnswerData>(1).moves, 3);
    EXPECT_EQ(f.bst.get<TBestData>(1), (TBestData{3, 1}));
    EXPECT_EQ(f.sol.count() > 2 ? f.sol.get<TAnswerData>(2).moves : 0, 0);

    // Exported, the answers go with their levels and come back as answers.
    const fs::path exported = dir.path / "exported.sok";
    saveCollection(exported, opened.set.boxFile,
                   [](int n) { return "Level " + std::to_string(n); });
    const std::string text = readText(exported);
    EXPECT_NE(text.find("Title: Level 2\r\nSolution:\r\nrrR\r\n\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Solution:"), text.rfind("Solution:"));
    EXPECT_EQ(openLevelTextFile(exported, dir.path / "again").set.answers, 1);

    // Without a name of its own a collection goes by its file's; a set that
    // is no collection has no index.
    writeText(dir.path / "plain.txt", level(6) + level(7));
    const auto plain = openLevelTextFile(dir.path / "plain.txt", dir.path / "sets");
    EXPECT_EQ(readCollectionIndex(plain.set.boxFile)->name, "plain");
    EXPECT_FALSE(readCollectionIndex((dir.path / "none.box").string()));
}

TEST(LevelCollection, SingleLevelsPastedTextsAndMissingFiles) {
    TempDir dir;
    writeText(dir.path / "one.xsb", "Title: Only\n" + level(3));
    const OpenedLevelText one = openLevelTextFile(dir.path / "one.xsb", dir.path / "sets");
    EXPECT_FALSE(one.collection);
    EXPECT_EQ(one.status, XsbStatus::Ok);
    EXPECT_EQ(one.single.title, "Only");
    EXPECT_EQ(one.single.first, parseXsb(level(3)).maze);
    EXPECT_FALSE(fs::exists(dir.path / "sets"));

    writeText(dir.path / "big.xsb", std::string(35, '#') + "\n");
    EXPECT_EQ(openLevelTextFile(dir.path / "big.xsb", dir.path).status, XsbStatus::TooBig);
    EXPECT_EQ(openLevelTextFile(dir.path / "none.xsb", dir.path).status, XsbStatus::Missing);
    EXPECT_EQ(openLevelTextFile(dir.path, dir.path).status, XsbStatus::ReadError);

    const std::string pasted = level(1) + level(2);
    const OpenedLevelText a = openLevelTextString(pasted, "clipboard", dir.path / "sets");
    const OpenedLevelText b = openLevelTextString(pasted, "clipboard", dir.path / "sets");
    ASSERT_TRUE(a.collection);
    EXPECT_TRUE(a.set.built);
    EXPECT_EQ(b.set.boxFile, a.set.boxFile);
    EXPECT_FALSE(b.set.built);
    const OpenedLevelText c =
        openLevelTextString(level(3) + level(4), "clipboard", dir.path / "sets");
    EXPECT_NE(c.set.boxFile, a.set.boxFile);
    EXPECT_EQ(boxLevels(a.set.boxFile).size(), 2u);
}

TEST(LevelCollection, UserLevelsFolder) {
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string keep = oldXdg ? oldXdg : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", "/data/x", 1);
    EXPECT_EQ(userLevelsDir(), fs::path("/data/x/sokoban/levels"));
    setenv("XDG_DATA_HOME", "relative", 1);
    setenv("HOME", "/home/p", 1);
    EXPECT_EQ(userLevelsDir(), fs::path("/home/p/.local/share/sokoban/levels"));
    setenv("HOME", home.c_str(), 1);
    if (oldXdg)
        setenv("XDG_DATA_HOME", keep.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

// The statistics file: lines that cannot be read count as none, a foreign
// file as no statistics; what is added is added to what the file holds.
TEST(LongAnswersFile, KeepsAnswersOfAnyLengthAndSkipsWhatItCannotRead) {
    TempDir dir;
    const fs::path file = dir.path / "set.long";
    EXPECT_TRUE(readLongAnswers(file).empty());
    putLongAnswer(file, 3, {}); // nothing to remove: no file is made
    EXPECT_FALSE(fs::exists(file));
    const core::Moves longer(5000, core::kRight), other{core::kUp, core::kLeft};
    putLongAnswer(file, 3, longer);
    putLongAnswer(file, 7, other);
    EXPECT_EQ(readLongAnswer(file, 3), longer);
    EXPECT_EQ(readLongAnswers(file), (std::map<int, core::Moves>{{3, longer}, {7, other}}));
    putLongAnswer(file, 3, {});
    EXPECT_EQ(readLongAnswers(file), (std::map<int, core::Moves>{{7, other}}));

    const struct {
        const char* name;
        std::string text;
        std::map<int, core::Moves> expected;
    } cases[] = {
        {"foreign file", "something else\n7\tul\n", {}},
        {"bad lines skipped",
         "sokoban long answers 1\n7\tul\nx\tud\n0\tud\n8\tuxd\n9\t\n10 ud\n11\tdd\n",
         {{7, other}, {11, {core::kDown, core::kDown}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeText(file, c.text);
        EXPECT_EQ(readLongAnswers(file), c.expected);
    }
}

// A solution in the text longer than an answer record holds is kept whole,
// written back by the export and follows its level when the text changes.
TEST(LevelCollection, SolutionsLongerThanARecordAreKeptWhole) {
    TempDir dir;
    const fs::path file = dir.path / "long.txt";
    std::string walk;
    for (int k = 0; k < 2100; ++k)
        walk += "rl";
    walk += "rR";
    const std::string longLevel = "######\n#@ $.#\n######\nSolution: " + walk + "\n\n";
    writeText(file, level(1) + longLevel);
    const OpenedLevelText got = openLevelTextFile(file, dir.path);
    ASSERT_EQ(got.set.imported, 2);
    EXPECT_EQ(got.set.answers, 1);
    const std::string box = got.set.boxFile;
    const std::string base = companionBase(box);
    const core::Moves kept = readLongAnswer(longAnswersFile(box, {}), 2);
    EXPECT_EQ(kept.size(), walk.size());
    EXPECT_EQ(readRecords<TAnswerData>(base + ".sol").at(1).moves, 0);
    EXPECT_EQ(readRecords<TBestData>(base + ".bst").at(1), (TBestData{4202, 1}));

    saveCollection(dir.path / "out.txt", box, [](int n) { return "L" + std::to_string(n); });
    std::string written = readText(dir.path / "out.txt");
    written.erase(std::remove(written.begin(), written.end(), '\n'), written.end());
    written.erase(std::remove(written.begin(), written.end(), '\r'), written.end());
    EXPECT_NE(written.find("Solution:" + walk), std::string::npos);

    writeText(file, level(5) + level(1) + longLevel);
    ASSERT_EQ(openLevelTextFile(file, dir.path).set.boxFile, box);
    EXPECT_EQ(readLongAnswers(longAnswersFile(box, {})), (std::map<int, core::Moves>{{3, kept}}));
}

TEST(LevelStatsFile, ReadsWhatItCanAndAddsToWhatIsThere) {
    TempDir dir;
    const fs::path file = dir.path / "set.stats";
    const struct {
        const char* what;
        std::string text;
        std::vector<LevelStats> stats;
    } cases[] = {
        {"missing", "", {}},
        {"foreign", "level\tattempts\tseconds\n1\t2\t3\n", {}},
        {"good and bad lines",
         "sokoban level statistics 1\n2\t4\t90\nx\t1\t1\n0\t1\t1\n3\t-1\t5\n"
         "4\t1\n5\t99999999999999999999\t1\n1\t1\t2\n",
         {{1, 2}, {4, 90}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(file);
        if (!c.text.empty()) writeText(file, c.text);
        EXPECT_EQ(readLevelStats(file), c.stats);
    }
    addLevelStats(file, 4, {1, 10});
    addLevelStats(file, 2, {1, 5});
    EXPECT_EQ(readLevelStats(file), (std::vector<LevelStats>{{1, 2}, {5, 95}, {}, {1, 10}}));
    addLevelStats(file, 0, {1, 1}); // no such level
    EXPECT_EQ(readLevelStats(file).size(), 4u);
}

} // namespace
} // namespace sokoban
