// An imported collection whose text changed is rebuilt: its levels, index
// and records move to the new order as one. A kill or a full disk at any
// point leaves the old set with its records or the new one with its
// records, never records on another level's place, and the next opening
// ends where an unbroken rebuild ends.
#include "storage/level_collection.h"
#include "storage/level_set.h"
#include "storage/safe_write.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <ostream>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace sokoban;
namespace fs = std::filesystem;

namespace {

// A corridor with n cells between the worker and the box.
std::string corridor(int n) {
    const std::string wall(std::size_t(n) + 5, '#');
    return wall + "\n#@" + std::string(std::size_t(n), ' ') + "$.#\n" + wall + "\n\n";
}

// Which corridor a stored level is: its walls tell.
int corridorOf(const TMazeData& level) {
    const auto walls = std::count(level.cells.begin(), level.cells.end(), kWall);
    return static_cast<int>((walls - 12) / 2);
}

template <class R> std::vector<R> readRecords(const fs::path& p) {
    const Bytes all = readPlainFile(p);
    std::vector<R> out;
    for (std::size_t at = 0; at + R::kSize <= all.size(); at += R::kSize)
        out.push_back(R::decode(std::span(all.data() + at, R::kSize)));
    return out;
}

template <class R> void writeRecords(const fs::path& p, const std::vector<R>& recs) {
    Bytes all;
    for (const auto& r : recs) {
        const Bytes b = r.encode();
        all.insert(all.end(), b.begin(), b.end());
    }
    replaceFileContents(p, all);
}

// The records the player has for corridor n: they name it.
TBestData bestOf(int n) {
    return {static_cast<std::int16_t>(10 * n), static_cast<std::int16_t>(n)};
}

struct SetState {
    std::vector<int> corridors;
    std::vector<TBestData> bests;
    std::vector<int> answers; // moves
    int progress = 0;
    int slotLevel = 0;
    bool operator==(const SetState&) const = default;
};

void PrintTo(const SetState& s, std::ostream* os) {
    *os << "levels";
    for (int n : s.corridors)
        *os << " " << n;
    *os << "; bests";
    for (const auto& b : s.bests)
        *os << " " << b.moves << "/" << b.pushes;
    *os << "; answers";
    for (int a : s.answers)
        *os << " " << a;
    *os << "; progress " << s.progress << "; slot on " << s.slotLevel;
}

SetState stateOf(const std::string& box) {
    SetState s;
    for (const auto& l : readRecords<TMazeData>(box))
        s.corridors.push_back(corridorOf(l));
    const std::string base = companionBase(box);
    s.bests = readRecords<TBestData>(base + ".bst");
    for (const auto& a : readRecords<TAnswerData>(base + ".sol"))
        s.answers.push_back(a.moves);
    const auto sav = readRecords<TSaveData>(base + ".sav");
    s.progress = sav.at(0).level;
    s.slotLevel = sav.at(1).level;
    return s;
}

class CollectionSwitchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/collection_switch_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directories(app = root / "app");
        levels = root / "levels";
        text = root / "c.txt";
    }
    void TearDown() override { fs::remove_all(root); }
    void writeText(const std::string& s) {
        std::ofstream(text, std::ios::binary | std::ios::trunc) << s;
        // A later write must not look unchanged to the import.
        fs::last_write_time(text, fs::last_write_time(text) + std::chrono::seconds(++stamps));
    }
    // Corridors 1 to 4, each passed with its own records, a slot on the third.
    std::string importWithRecords() {
        writeText(corridor(1) + corridor(2) + corridor(3) + corridor(4));
        const std::string box = openLevelTextFile(text, levels, app).set.boxFile;
        const std::string base = companionBase(box);
        writeRecords<TBestData>(base + ".bst", {bestOf(1), bestOf(2), bestOf(3), bestOf(4)});
        std::vector<TAnswerData> sol(4);
        for (int k = 0; k < 4; ++k) {
            sol[std::size_t(k)].level = static_cast<std::int16_t>(k + 1);
            sol[std::size_t(k)].moves = bestOf(k + 1).moves;
        }
        writeRecords(base + ".sol", sol);
        std::vector<TSaveData> sav(6, freshSaveRecord());
        sav[0].level = 4;
        sav[1] = {3, 5, 1, 40, {}};
        writeRecords(base + ".sav", sav);
        return box;
    }
    fs::path root, app, levels, text;
    int stamps = 0;
};

TEST_F(CollectionSwitchTest, AKillOrAFullDiskAtAnyPointLeavesTheOldOrTheNewSet) {
    const SetState old{
        {1, 2, 3, 4}, {bestOf(1), bestOf(2), bestOf(3), bestOf(4)}, {10, 20, 30, 40}, 4, 3};
    // Corridor 2 goes, 4 changes, a new one comes first: 1 and 3 keep
    // their records on their new places.
    const std::string changed = corridor(9) + corridor(1) + corridor(3) + corridor(14);
    const SetState rebuilt{{9, 1, 3, 14}, {{}, bestOf(1), bestOf(3), {}}, {0, 10, 30, 0}, 1, 3};

    // Stops just before or just after each rename: a kill there, or a full
    // disk failing the write that comes before the rename.
    const struct {
        const char* what;
        RenameStep at;
        bool kill;
        std::set<bool> outcomes; // rebuilt or not, as the opening after the stop finds it
    } stops[] = {{"killed before", RenameStep::Before, true, {false, true}},
                 {"killed after", RenameStep::After, true, {true}},
                 {"disk full", RenameStep::Before, false, {false, true}}};
    for (const auto& how : stops) {
        const RenameStep at = how.at;
        std::set<bool> outcomes;
        for (int stop = 1;; ++stop) {
            SCOPED_TRACE(testing::Message() << how.what << " at " << stop);
            const std::string box = importWithRecords();
            ASSERT_EQ(stateOf(box), old);
            writeText(changed);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                int step = 0;
                setRenameObserver([&](const fs::path& file, RenameStep s) {
                    if (s != at || ++step != stop) return;
                    if (how.kill) ::_exit(3); // no clean-up, as after a kill
                    throw FileError(file, ENOSPC);
                });
                try {
                    openLevelTextFile(text, levels, app);
                } catch (const FileError&) {
                    ::_exit(2);
                }
                ::_exit(0);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            ASSERT_TRUE(WIFEXITED(status)) << status;

            // The set opened as it is (from the list of sets): old or new, whole.
            ASSERT_EQ(openLevelSet(box, app).status, OpenStatus::Ok);
            const SetState now = stateOf(box);
            if (now != old) {
                EXPECT_EQ(now, rebuilt);
            }
            outcomes.insert(now == rebuilt);
            // The text opened again: the same end as an unbroken rebuild.
            const OpenedLevelText again = openLevelTextFile(text, levels, app);
            EXPECT_EQ(again.set.boxFile, box);
            ASSERT_EQ(openLevelSet(box, app).status, OpenStatus::Ok);
            EXPECT_EQ(stateOf(box), rebuilt);
            std::set<std::string> names;
            for (const auto& e : fs::directory_iterator(levels))
                names.insert(e.path().filename().string());
            EXPECT_EQ(names, (std::set<std::string>{"c.box", "c.idx", "c.sav", "c.bst", "c.sol"}));
            fs::remove_all(levels);
            if (WEXITSTATUS(status) == 0) break; // the rebuild got to its end
        }
        EXPECT_EQ(outcomes, how.outcomes);
    }
}

TEST_F(CollectionSwitchTest, LinkedRecordsAreNeitherWrittenNorLost) {
    // The set's progress is a link to a file of the player's: the rebuild
    // moves the records where the game keeps them instead, and the link and
    // its target stay as they were.
    const std::string box = importWithRecords();
    const std::string base = companionBase(box);
    const Bytes notes(1342, '#');
    replaceFileContents(root / "notes.txt", notes);
    fs::remove(base + ".sav");
    fs::create_symlink(root / "notes.txt", base + ".sav");
    writeText(corridor(9) + corridor(1) + corridor(3) + corridor(14));
    openLevelTextFile(text, levels, app);
    ASSERT_EQ(openLevelSet(box, app).status, OpenStatus::Ok);
    EXPECT_EQ(readPlainFile(root / "notes.txt"), notes);
    EXPECT_EQ(fs::read_symlink(base + ".sav"), root / "notes.txt");
    const std::string kept = FilePlaces(app).companionBase(box);
    EXPECT_EQ(fs::path(kept).parent_path(), app);
    EXPECT_EQ(readRecords<TBestData>(kept + ".bst"),
              (std::vector<TBestData>{{}, bestOf(1), bestOf(3), {}}));
    // What the link leads to holds no records: the progress starts afresh.
    EXPECT_EQ(readRecords<TSaveData>(kept + ".sav").at(0).level, 1);
}

} // namespace
