// Opening level sets and the files beside them, in a scratch directory per
// test: creation and repair of the companion files, game.var, game.lst.
#include "../test_files.h"
#include "storage/level_set.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numeric>

using namespace sokoban;
namespace fs = std::filesystem;

namespace {

using sokoban::testing::contents;
using sokoban::testing::writeBytes;

void writeText(const fs::path& p, const std::string& s) {
    std::ofstream(p, std::ios::binary) << s;
}

// Record i of a file, in its first four bytes: two 16-bit fields.
std::pair<int, int> head(const Bytes& file, std::size_t size, std::size_t i) {
    return {readI16(&file[i * size]), readI16(&file[i * size + 2])};
}

// A level set of n levels, level i with its worker on cell i.
std::string makeSet(const fs::path& p, int n) {
    Bytes b;
    for (int i = 1; i <= n; ++i) {
        TMazeData m;
        m.man = static_cast<std::int16_t>(i);
        m.cells[static_cast<std::size_t>(i)] = kFloor;
        const Bytes r = m.encode();
        b.insert(b.end(), r.begin(), r.end());
    }
    writeBytes(p, b);
    return p.string();
}

class LevelSetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/levels_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directory(appDir = root / "app");
        fs::create_directory(other = root / "other");
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root, appDir, other;
};

TEST_F(LevelSetTest, FreshSetGetsCompanionFilesAndStartsAtLevelOne) {
    const fs::path undo = undoFile(appDir).path();
    writeBytes(undo, Bytes(3 * 756, 9));
    const OpenedSet s = openLevelSet(makeSet(other / "mine.box", 3), appDir);
    EXPECT_EQ(s.status, OpenStatus::Ok);
    EXPECT_EQ(s.gameName, (other / "mine").string());
    EXPECT_EQ(s.levelCount, 3);
    EXPECT_EQ(s.maxLevel, 1);
    const Bytes sav = contents(other / "mine.sav"), sol = contents(other / "mine.sol");
    ASSERT_EQ(sav.size(), 4536u);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(head(sav, 756, i), std::pair(1, 1)) << i;
    EXPECT_EQ(contents(other / "mine.bst"), Bytes(12, 0));
    ASSERT_EQ(sol.size(), 3 * 1029u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(head(sol, 1029, i).second, 0) << i;
    EXPECT_EQ(fs::file_size(undo), 0u);
    EXPECT_EQ(RecordFile(other / "mine.box", TMazeData::kSize).get<TMazeData>(2).man, 3);
}

TEST_F(LevelSetTest, CompanionFilesAreRepaired) {
    // Three levels; each case puts one companion file there beforehand, made
    // of whole records (record i filled with 0x40 + i) and a torn tail.
    const struct {
        const char* ext;
        std::size_t size;
        std::size_t records, tail, expected;
        int freshFirst, freshSecond; // fields of the records added; -1: any
    } cases[] = {
        {".sav", 756, 3, 0, 6, 1, 1},     {".sav", 756, 8, 0, 8, 1, 1},
        {".sav", 756, 2, 10, 6, 1, 1},    {".sav", 756, 0, 0, 6, 1, 1},
        {".bst", 4, 1, 0, 3, 0, 0},       {".bst", 4, 5, 0, 5, 0, 0},
        {".bst", 4, 1, 2, 3, 0, 0},       {".sol", 1029, 1, 0, 3, -1, 0},
        {".sol", 1029, 5, 0, 3, -1, 0},   {".sol", 1029, 1, 100, 3, -1, 0},
        {".sol", 1029, 3, 100, 3, -1, 0}, {".sol", 1029, 5, 100, 3, -1, 0},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.ext << " " << c.records << "+" << c.tail);
        const fs::path base = other / ("set" + std::to_string(++n));
        const fs::path file = base.string() + c.ext;
        Bytes before;
        for (std::size_t i = 0; i < c.records; ++i)
            before.insert(before.end(), c.size, 0x40 + i);
        before.insert(before.end(), c.tail, 0xee);
        writeBytes(file, before);

        ASSERT_EQ(openLevelSet(makeSet(base.string() + ".box", 3), appDir).status, OpenStatus::Ok);
        const Bytes after = contents(file);
        ASSERT_EQ(after.size(), c.expected * c.size);
        const std::size_t kept = std::min(c.records, c.expected) * c.size;
        EXPECT_TRUE(std::equal(after.begin(), after.begin() + kept, before.begin()));
        for (std::size_t i = c.records; i < c.expected; ++i) {
            const auto [first, second] = head(after, c.size, i);
            if (c.freshFirst >= 0) {
                EXPECT_EQ(first, c.freshFirst) << i;
            }
            EXPECT_EQ(second, c.freshSecond) << i;
        }
    }
}

TEST_F(LevelSetTest, StartingLevel) {
    // Only the three open sets of the program directory start unlocked, on
    // their last level; progress is otherwise taken as it stands.
    const struct {
        bool inAppDir;
        const char* name;
        int progress; // 0: no progress file yet
        int expected;
    } cases[] = {
        {true, "easy.box", 0, 4},        {true, "veryhard.box", 0, 4},
        {true, "impossible.box", 2, 4},  {true, "game.box", 0, 1},
        {true, "normal.box", 3, 3},      {false, "easy.box", 0, 1},
        {false, "impossible.box", 2, 2}, {true, "easy.box", 9, 9},
        {false, "mine.box", 9, 9},       {false, "mine.box", -5, -5},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.inAppDir << " " << c.name << " " << c.progress);
        const fs::path dir = root / std::to_string(++n);
        fs::create_directories(dir / "app");
        const fs::path set = (c.inAppDir ? dir / "app" : dir) / c.name;
        const fs::path sav = fs::path(set).replace_extension(".sav");
        if (c.progress != 0) {
            TSaveData p;
            p.level = static_cast<std::int16_t>(c.progress);
            writeBytes(sav, p.encode());
        }
        // Every other case names the program directory with a trailing separator.
        const fs::path app = n % 2 ? dir / "app" : dir / "app" / "";
        const OpenedSet s = openLevelSet(makeSet(set, 4), app);
        EXPECT_EQ(s.maxLevel, c.expected);
        EXPECT_EQ(head(contents(sav), 756, 0).first, c.expected);
    }
}

TEST_F(LevelSetTest, OpenSetNamesAreExact) {
    EXPECT_TRUE(isOpenSet("/a/easy.box", "/a"));
    EXPECT_TRUE(isOpenSet("/a/veryhard.box", "/a/"));
    EXPECT_TRUE(isOpenSet("easy.box", ""));
    EXPECT_FALSE(isOpenSet("/a/b/../easy.box", "/a"));
    EXPECT_FALSE(isOpenSet("/a/easy.box", "/a/b"));
}

TEST_F(LevelSetTest, SetSize) {
    // Named easy.box in the program directory, an accepted set opens on its
    // last level; a refused one leaves everything as it was.
    const struct {
        std::intmax_t size; // -1: no file, -2: a directory
        OpenStatus status;
    } cases[] = {{-1, OpenStatus::Missing},
                 {-2, OpenStatus::Missing},
                 {0, OpenStatus::BadFormat},
                 {749, OpenStatus::BadFormat},
                 {751, OpenStatus::BadFormat},
                 {750, OpenStatus::Ok},
                 {1500, OpenStatus::Ok},
                 {32767 * 750, OpenStatus::Ok},
                 {32768 * 750, OpenStatus::BadFormat}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const fs::path app = root / std::to_string(++n), set = app / "easy.box";
        fs::create_directory(app);
        const fs::path undo = undoFile(app).path();
        writeBytes(undo, Bytes(756, 9));
        if (c.size == -2) fs::create_directory(set);
        if (c.size >= 0) {
            writeBytes(set, {});
            fs::resize_file(set, static_cast<std::uintmax_t>(c.size));
        }
        const OpenedSet s = openLevelSet(set.string(), app);
        EXPECT_EQ(s.status, c.status);
        if (c.status == OpenStatus::Ok) {
            EXPECT_EQ(s.levelCount, c.size / 750);
            EXPECT_EQ(s.maxLevel, c.size / 750);
        } else {
            EXPECT_EQ(std::distance(fs::directory_iterator(app), {}), c.size == -1 ? 1 : 2);
            EXPECT_EQ(fs::file_size(undo), 756u);
        }
    }
}

TEST_F(LevelSetTest, NameWithoutExtensionLosesFourCharacters) {
    const OpenedSet s = openLevelSet(makeSet(other / "puzzles", 2), appDir);
    EXPECT_EQ(s.gameName, (other / "puz").string());
    for (const char* ext : {".sav", ".bst", ".sol"})
        EXPECT_TRUE(fs::exists(other / ("puz" + std::string(ext))));
}

Bytes records(std::initializer_list<TBestData> bests) {
    Bytes b;
    for (const auto& r : bests) {
        const Bytes e = r.encode();
        b.insert(b.end(), e.begin(), e.end());
    }
    return b;
}

Bytes progressFile(int level) {
    Bytes b;
    for (int k = 0; k < 6; ++k) {
        TSaveData r = freshSaveRecord();
        if (k == 0) r.level = static_cast<std::int16_t>(level);
        const Bytes e = r.encode();
        b.insert(b.end(), e.begin(), e.end());
    }
    return b;
}

TEST_F(LevelSetTest, RecordsOfASolveOnlyImprove) {
    // What another copy of the game wrote meanwhile is on disk; this copy's
    // records merge with it.
    const RecordFile sav(other / "a.sav", TSaveData::kSize, Writes::WholeCopy);
    const struct {
        int onDisk; // 0: no file yet
        int mine, expected;
    } progress[] = {{6, 2, 6}, {2, 6, 6}, {3, 3, 3}, {-4, 2, 2}, {0, 3, 3}};
    for (const auto& c : progress) {
        SCOPED_TRACE(::testing::Message() << "progress " << c.onDisk << " " << c.mine);
        fs::remove(sav.path());
        if (c.onDisk) writeBytes(sav.path(), progressFile(c.onDisk));
        EXPECT_EQ(raiseProgress(sav, static_cast<std::int16_t>(c.mine)), c.expected);
        EXPECT_EQ(sav.get<TSaveData>(0).level, c.expected);
        if (c.onDisk) {
            EXPECT_EQ(sav.get<TSaveData>(5), freshSaveRecord());
        }
    }

    const RecordFile bst(other / "a.bst", TBestData::kSize, Writes::WholeCopy);
    const struct {
        TBestData onDisk, mine, expected;
    } bests[] = {
        {{0, 0}, {20, 5}, {20, 5}},  {{10, 8}, {20, 5}, {10, 5}}, {{10, 3}, {20, 5}, {10, 3}},
        {{10, 3}, {12, 2}, {10, 2}}, {{-5, 3}, {20, 5}, {20, 5}}, {{30, 40}, {20, 5}, {20, 5}},
        {{9, 2}, {0, 0}, {9, 2}},
    };
    for (const auto& c : bests) {
        SCOPED_TRACE(::testing::Message() << "best " << c.onDisk.moves << "/" << c.onDisk.pushes);
        writeBytes(bst.path(), records({{1, 1}, c.onDisk, {2, 2}}));
        EXPECT_EQ(improveBest(bst, 1, c.mine), c.expected);
        EXPECT_EQ(contents(bst.path()), records({{1, 1}, c.expected, {2, 2}}));
    }

    // An answer goes in only with the better count it comes with.
    const CompanionFiles files{RecordFile(), sav, bst,
                               RecordFile(other / "a.sol", TAnswerData::kSize, Writes::WholeCopy)};
    const struct {
        int storedMoves;
        TBestData onDisk, counts;
        bool stored;
    } answers[] = {
        {0, {0, 0}, {20, 5}, true},
        {15, {15, 4}, {20, 5}, false},
        {15, {15, 4}, {14, 6}, true},
        {15, {15, 4}, {20, 3}, true},
        {15, {15, 4}, {15, 4}, false},
        {15, {0, 0}, {20, 5}, false}, // an answer without a best count stays
        {-3, {15, 4}, {20, 5}, true}, // no answer at all
    };
    for (const auto& c : answers) {
        SCOPED_TRACE(::testing::Message() << "answer " << c.storedMoves << " " << c.counts.moves);
        writeBytes(bst.path(), records({{0, 0}, c.onDisk}));
        TAnswerData stored;
        stored.level = 2;
        stored.moves = static_cast<std::int16_t>(c.storedMoves);
        writeBytes(files.sol.path(), Bytes(TAnswerData::kSize, 0));
        files.sol.put(1, stored);
        TAnswerData mine = stored;
        mine.moves = c.counts.moves;
        mine.setMove(0, 3);
        EXPECT_EQ(storeSolveAnswer(files, 1, mine, c.counts), c.stored);
        EXPECT_EQ(files.sol.get<TAnswerData>(1), c.stored ? mine : stored);
        EXPECT_EQ(files.sol.get<TAnswerData>(0), TAnswerData{});
    }
}

TEST_F(LevelSetTest, OpeningRepairsWhatACutShortSolveLeaves) {
    // A solve writes the answer, the best counts, then the progress; a set
    // whose highest unlocked level has a best count (passed) opens with the
    // next one unlocked, and so on. Best counts no solve can leave are none.
    const TBestData none{};
    const struct {
        const char* what;
        Bytes bst;
        int progress, expected;
        Bytes repaired;
    } cases[] = {
        {"kill before the progress", records({{5, 1}, none, {12, 3}}), 3, 4,
         records({{5, 1}, none, {12, 3}, none, none})},
        {"passed in a row", records({{5, 1}, {6, 2}, {7, 3}}), 1, 4,
         records({{5, 1}, {6, 2}, {7, 3}, none, none})},
        {"a level not passed stays a wall", records({none, {4, 1}, {5, 1}}), 1, 1,
         records({none, {4, 1}, {5, 1}, none, none})},
        {"the last level", records({none, none, none, none, {7, 2}}), 5, 5,
         records({none, none, none, none, {7, 2}})},
        {"never lowered", records({none, {4, 1}}), 4, 4, records({none, {4, 1}, none, none, none})},
        {"nothing solved", records({}), 3, 3, records({none, none, none, none, none})},
        {"nonsense", records({{7, 0}, {3, 9}, {-5, 3}, {0, 4}, {32767, -1}}), 1, 1,
         records({none, none, none, none, none})},
        {"beyond the set", records({none, none, none, none, {9, 9}, {9, 9}}), 5, 5,
         records({none, none, none, none, {9, 9}, {9, 9}})},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path base = other / ("cut" + std::to_string(++n));
        writeBytes(base.string() + ".bst", c.bst);
        writeBytes(base.string() + ".sav", progressFile(c.progress));
        const OpenedSet s = openLevelSet(makeSet(base.string() + ".box", 5), appDir);
        EXPECT_EQ(s.maxLevel, c.expected);
        EXPECT_EQ(head(contents(base.string() + ".sav"), 756, 0).first, c.expected);
        EXPECT_EQ(contents(base.string() + ".bst"), c.repaired);
    }
}

TEST_F(LevelSetTest, RecordsKeptAwayStartFromThoseBeside) {
    // A progress file the player made read-only: the set's records go to the
    // game's own folder, starting from the ones beside the set, which stay
    // as they were.
    const std::string set = makeSet(other / "kept.box", 3);
    const Bytes sav = progressFile(3), bst = records({{5, 1}, {6, 2}, {0, 0}});
    writeBytes(other / "kept.sav", sav);
    writeBytes(other / "kept.bst", bst);
    fs::permissions(other / "kept.sav", fs::perms(0444));
    EXPECT_EQ(openLevelSet(set, appDir).maxLevel, 3);
    const std::string base = FilePlaces(appDir).companionBase(set);
    EXPECT_EQ(fs::path(base).parent_path(), appDir);
    EXPECT_EQ(contents(base + ".sav"), sav);
    EXPECT_EQ(contents(base + ".bst"), bst);
    EXPECT_EQ(fs::file_size(base + ".sol"), 3 * TAnswerData::kSize);
    EXPECT_EQ(contents(other / "kept.sav"), sav);
    EXPECT_EQ(fs::status(other / "kept.sav").permissions(), fs::perms(0444));
    EXPECT_FALSE(fs::exists(other / "kept.sol"));
    // From then on the copy is the set's record.
    raiseProgress(CompanionFiles::forGame(set, appDir).sav, 4);
    EXPECT_EQ(openLevelSet(set, appDir).maxLevel, 4);
    EXPECT_EQ(contents(other / "kept.sav"), sav);

    // A link to a file that holds no records: a fresh start.
    const std::string linked = makeSet(other / "linked.box", 2);
    const Bytes notes(1342, '#');
    writeBytes(root / "notes.txt", notes);
    fs::create_symlink(root / "notes.txt", other / "linked.sav");
    EXPECT_EQ(openLevelSet(linked, appDir).maxLevel, 1);
    EXPECT_EQ(contents(root / "notes.txt"), notes);
    EXPECT_TRUE(fs::is_symlink(other / "linked.sav"));
    EXPECT_EQ(contents(FilePlaces(appDir).companionBase(linked) + ".sav"), progressFile(1));
}

// --- game.var ------------------------------------------------------------

constexpr int kW = 1920, kH = 1080; // 0x0780, 0x0438

// A settings record with the window of that screen.
Bytes settingsBytes(std::initializer_list<std::uint8_t> head) {
    Bytes b(head);
    b.resize(32);
    b.insert(b.end(), {0x80, 0x07, 0x38, 0x04});
    return b;
}

TEST_F(LevelSetTest, MissingSettingsAreCreated) {
    const Bytes created = settingsBytes({1, 10, 2, 2, 1, 1, 1, 1, 6, 1, 2, 0, 2, 7, 1});
    EXPECT_EQ(loadSettings(appDir / "game.var", kW, kH).encode(), created);
    EXPECT_EQ(contents(appDir / "game.var"), created);
}

TEST_F(LevelSetTest, SettingsAreRepairedAndWrittenBackWhole) {
    Bytes longer(40);
    std::iota(longer.begin(), longer.end(), std::uint8_t{11});
    const Bytes full(longer.begin(), longer.begin() + 36);
    // The face fields of these hold faces the game does not have.
    auto facesRepaired = [](Bytes b) {
        b[1] = 1;
        b[12] = 2;
        b[13] = 7;
        b[14] = 1;
        return b;
    };
    const Bytes repairedZeros = settingsBytes({1, 1, 2, 2, 1, 0, 0, 1, 6, 1, 2, 0, 2, 7, 1});
    const struct {
        const char* what;
        Bytes file, loaded;
    } cases[] = {
        {"5 bytes", {3, 4, 0, 1, 0}, settingsBytes({3, 4, 2, 1, 1, 0, 0, 1, 6, 1, 2, 0, 2, 7, 1})},
        {"7 bytes",
         {0, 0, 0, 0, 0, 1, 1},
         settingsBytes({1, 1, 2, 2, 1, 1, 1, 1, 6, 1, 2, 0, 2, 7, 1})},
        {"empty", {}, repairedZeros},
        {"zeros", Bytes(36, 0), repairedZeros},
        {"full", full, facesRepaired(full)},
        {"longer", longer, facesRepaired(full)},
        {"all ones", Bytes(36, 0xff), facesRepaired(Bytes(36, 0xff))},
    };
    const fs::path var = appDir / "game.var";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(var, c.file);
        const TGameVar v = loadSettings(var, kW, kH);
        EXPECT_EQ(v.encode(), c.loaded);
        EXPECT_EQ(contents(var), c.file); // loading never writes an existing file
        saveSettings(var, v);
        Bytes saved = c.loaded;
        if (c.file.size() > 36) saved.insert(saved.end(), c.file.begin() + 36, c.file.end());
        EXPECT_EQ(contents(var), saved);
    }
    EXPECT_THROW(loadSettings(appDir, kW, kH), FileError);
}

// A face or custom tile the game does not have would draw an invisible board:
// it loads the repair value, as a 0 does.
TEST_F(LevelSetTest, FacesOutsideTheGameLoadTheirRepairValues) {
    const struct {
        std::uint8_t face, wall, floor, box;
        std::uint8_t wantFace, wantWall, wantFloor, wantBox;
    } cases[] = {
        {1, 1, 1, 1, 1, 1, 1, 1},     {10, 10, 10, 10, 10, 10, 10, 10}, {11, 3, 4, 5, 11, 3, 4, 5},
        {12, 3, 4, 5, 1, 3, 4, 5},    {255, 3, 4, 5, 1, 3, 4, 5},       {11, 11, 4, 5, 11, 2, 4, 5},
        {11, 3, 200, 5, 11, 3, 7, 5}, {11, 3, 4, 255, 11, 3, 4, 1},     {0, 0, 0, 0, 1, 2, 7, 1},
    };
    const fs::path var = appDir / "game.var";
    for (const auto& c : cases) {
        Bytes b = settingsBytes({1, c.face, 2, 2, 1, 1, 1, 1, 6, 1, 2, 0, c.wall, c.floor, c.box});
        writeBytes(var, b);
        const TGameVar v = loadSettings(var, kW, kH);
        EXPECT_EQ(v.faceStyle, c.wantFace) << int(c.face);
        EXPECT_EQ(v.customWall, c.wantWall) << int(c.wall);
        EXPECT_EQ(v.customFloor, c.wantFloor) << int(c.floor);
        EXPECT_EQ(v.customBox, c.wantBox) << int(c.box);
    }
}

TEST_F(LevelSetTest, RefusedWritesAreReported) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    EXPECT_THROW(saveSettings("/dev/full", TGameVar{}), FileError);
    EXPECT_THROW(writeGameList("/dev/full", {"/a.box"}), FileError);
}

// --- game.lst ------------------------------------------------------------

TEST_F(LevelSetTest, GameListLines) {
    const std::vector<std::string> two = {"/home/a/一.box", "/b c/two.box"};
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"/home/a/一.box\r\n/b c/two.box\r\n", two},
        {"/home/a/一.box\n/b c/two.box\n", two},
        {"/home/a/一.box\r\n/b c/two.box", two},
        {"", {}},
        {"x\r\n\r\ny\n", {"x", "", "y"}},
    };
    const fs::path lst = appDir / "game.lst";
    for (const auto& c : cases) {
        writeText(lst, c.text);
        EXPECT_EQ(readGameList(lst), c.lines) << c.text;
    }
    writeGameList(lst, two);
    const std::string crlf = "/home/a/一.box\r\n/b c/two.box\r\n";
    EXPECT_EQ(contents(lst), Bytes(crlf.begin(), crlf.end()));
}

TEST_F(LevelSetTest, GameListEntryForChoicesAboveFive) {
    const fs::path lst = appDir / "game.lst";
    EXPECT_EQ(gameListEntry(lst, 6), "");
    ASSERT_TRUE(fs::exists(lst));
    EXPECT_EQ(fs::file_size(lst), 0u);

    writeText(lst, "/a.box\r\n/b.box\n/c.box");
    const std::pair<int, std::string> cases[] = {
        {1, ""}, {5, ""}, {6, "/a.box"}, {7, "/b.box"}, {8, "/c.box"}, {9, ""}, {255, ""}};
    for (const auto& [choice, path] : cases)
        EXPECT_EQ(gameListEntry(lst, choice), path) << choice;
}

} // namespace
