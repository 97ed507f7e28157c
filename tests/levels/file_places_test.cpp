// Where the game's files go: a portable copy keeps everything in its program
// directory, an installed one in the per-user folder; sets in folders the
// player cannot write keep their records in the game's own folder.
#include "storage/file_places.h"
#include "storage/level_set.h"
#include "storage/safe_write.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace sokoban;
namespace fs = std::filesystem;

namespace {

class FilePlacesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/places_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directories(app = root / "share" / "sokoban");
        fs::create_directories(cd = root / "cd");
        fs::create_directories(cd2 = root / "cd2");
        fs::create_directories(mine = root / "mine");
        user = root / "home" / ".local" / "share" / "sokoban";
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root, app, cd, cd2, mine, user;
    std::string pid = std::to_string(::getpid());
};

struct EnvVar {
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        had_ = std::getenv(name) != nullptr;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvVar() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST_F(FilePlacesTest, EveryFileHasItsPlace) {
    const std::string a = app.string() + "/", c = cd.string() + "/", m = mine.string() + "/";
    const std::string hashed = "@"; // stands for <user>/<stem>-<hash>
    const struct {
        bool appWritable;
        std::string set;
        std::string base; // "@stem": in the own folder under a hashed name
    } cases[] = {
        // A portable copy: everything as it always was.
        {true, a + "game.box", a + "game"},
        {true, a + "impossible.box", a + "impossible"},
        {true, a + "other.box", a + "other"},
        {true, m + "game.box", m + "game"},
        {true, c + "hard.box", "@hard"},
        // Installed: the built-in sets' records go to the user folder by
        // their own names, others in the program directory are hashed.
        {false, a + "game.box", (user / "game").string()},
        {false, a + "easy.box", (user / "easy").string()},
        {false, a + "other.box", "@other"},
        {false, m + "game.box", m + "game"},
        {false, m + "puzzles", m + "puz"},
        {false, c + "hard.box", "@hard"},
        {false, c + "x", "@"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.appWritable << " " << k.set);
        const FilePlaces places(
            app, user, [&](const fs::path& d) { return d == app ? k.appWritable : d != cd; });
        const fs::path own = k.appWritable ? app : user;
        EXPECT_EQ(places.ownDir(), own);
        EXPECT_EQ(places.settingsFile(), own / "game.var");
        EXPECT_EQ(places.listFile(), own / "game.lst");
        EXPECT_EQ(places.undoFile(), own / ("game-" + pid + ".tmp"));
        EXPECT_EQ(places.builtinSet("normal.box"), app / "normal.box");
        const std::string base = places.companionBase(k.set);
        if (k.base.starts_with(hashed)) {
            const std::string name = fs::path(base).filename().string();
            EXPECT_EQ(fs::path(base).parent_path(), own);
            EXPECT_EQ(name.substr(0, name.size() - 17), k.base.substr(1));
            EXPECT_EQ(name.size(), k.base.size() - 1 + 17) << name;
        } else {
            EXPECT_EQ(base, k.base);
        }
        // The per-user folder exists once the game keeps its files there.
        EXPECT_EQ(fs::is_directory(user), !k.appWritable);
        fs::remove_all(root / "home");
    }
}

TEST_F(FilePlacesTest, SetsOfOneNameNeverShareRecords) {
    const FilePlaces places(app, user, [&](const fs::path& d) { return d != cd && d != cd2; });
    const std::string one = places.companionBase((cd / "hard.box").string());
    EXPECT_NE(one, places.companionBase((cd2 / "hard.box").string()));
    // The same set named another way, and again on the next start.
    EXPECT_EQ(one, places.companionBase((root / "cd" / "." / "hard.box").string()));
    EXPECT_EQ(one, FilePlaces(app, user, [&](const fs::path& d) {
                       return d != cd;
                   }).companionBase((cd / "hard.box").string()));
}

void writeFile(const fs::path& p, const std::string& text) {
    replaceFileContents(p, Bytes(text.begin(), text.end()));
}

std::string readFile(const fs::path& p) {
    const Bytes b = readPlainFile(p);
    return std::string(b.begin(), b.end());
}

TEST_F(FilePlacesTest, LinkedOrReadOnlyRecordsAreKeptInTheOwnFolder) {
    // What lies beside a set decides whether its records may stay there: a
    // link (even one to nowhere) or a read-only file sends all three to the
    // game's own folder under the hashed name, starting from those beside.
    writeFile(root / "notes.txt", "not a record file");
    const struct {
        bool appWritable;
        std::string set;    // in mine/ or app/
        std::string beside; // a file next to the set's records
        char kind;          // 'l' link to notes.txt, 'd' dangling link, 'r' read-only, 'f' folder
        bool hashed;
        std::string startFrom; // "beside", "user" (the per-user plain name) or ""
    } cases[] = {
        {true, "mine/x.box", "", 0, false, ""},
        {true, "mine/x.box", "mine/x.sav", 'l', true, "beside"},
        {true, "mine/x.box", "mine/x.bst", 'd', true, "beside"},
        {true, "mine/x.box", "mine/x.sol", 'r', true, "beside"},
        {true, "mine/x.box", "mine/x.sav", 'f', false, ""}, // refused when opened
        {true, "mine/x.box", "mine/x.idx", 'l', false, ""}, // no record file
        {true, "app/game.box", "app/game.sav", 'l', true, "beside"},
        {false, "app/game.box", "user/game.bst", 'l', true, "user"},
        {false, "app/game.box", "", 0, false, "beside"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.set << " " << c.beside << " " << c.kind);
        fs::create_directories(user);
        const auto at = [&](const std::string& rel) {
            return rel.starts_with("user/")  ? user / rel.substr(5)
                   : rel.starts_with("app/") ? app / rel.substr(4)
                                             : root / rel;
        };
        const fs::path beside = at(c.beside);
        if (c.kind == 'l') fs::create_symlink(root / "notes.txt", beside);
        if (c.kind == 'd') fs::create_symlink(root / "gone", beside);
        if (c.kind == 'r') {
            writeFile(beside, std::string(1029, 'a'));
            fs::permissions(beside, fs::perms(0444));
        }
        if (c.kind == 'f') fs::create_directory(beside);
        const FilePlaces places(app, user,
                                [&](const fs::path& d) { return d == app ? c.appWritable : true; });
        const fs::path set = at(c.set);
        const auto place = places.companionPlace(set.string());
        const std::string plain = set.string().substr(0, set.string().size() - 4);
        const fs::path own = c.appWritable ? app : user;
        if (c.hashed) {
            const std::string name = fs::path(place.base).filename().string();
            EXPECT_EQ(fs::path(place.base).parent_path(), own);
            EXPECT_EQ(name.size(), set.stem().string().size() + 17) << name;
        } else {
            EXPECT_EQ(place.base, c.appWritable ? plain : (user / set.stem()).string());
        }
        EXPECT_EQ(place.startFrom, c.startFrom == "beside" ? plain
                                   : c.startFrom == "user" ? (user / set.stem()).string()
                                                           : "");
        EXPECT_EQ(places.companionBase(set.string()), place.base);
        EXPECT_EQ(readFile(root / "notes.txt"), "not a record file");
        if (!c.beside.empty()) fs::remove_all(beside);
        fs::remove_all(root / "home");
    }
}

TEST_F(FilePlacesTest, LinkedOrReadOnlySettingsGiveWayToThePlayersCopy) {
    // A portable program directory whose settings are a link and whose list
    // is read-only: the player's own copies in the per-user folder start
    // from them; a link that leads nowhere gives a fresh file.
    const FilePlaces places(app, user, [](const fs::path&) { return true; });
    const std::string settings(36, '\x02'), list = "/a/一.box\r\n";
    writeFile(root / "shared.var", settings);
    fs::create_symlink(root / "shared.var", app / "game.var");
    writeFile(app / "game.lst", list);
    fs::permissions(app / "game.lst", fs::perms(0444));
    fs::create_symlink(root / "gone", app / "assist.var");
    EXPECT_EQ(places.settingsFile(), user / "game.var");
    EXPECT_EQ(places.listFile(), user / "game.lst");
    EXPECT_EQ(places.playOptionsFile(), user / "assist.var");
    EXPECT_EQ(readFile(user / "game.var"), settings);
    EXPECT_EQ(readFile(user / "game.lst"), list);
    EXPECT_FALSE(fs::exists(user / "assist.var"));
    // The player's copy is kept from then on, whatever the original holds.
    saveSettings(places.settingsFile(), TGameVar{});
    writeFile(root / "shared.var", "changed");
    EXPECT_EQ(places.settingsFile(), user / "game.var");
    EXPECT_EQ(readPlainFile(user / "game.var"), TGameVar{}.encode());
    EXPECT_EQ(readFile(root / "shared.var"), "changed");
    EXPECT_EQ(readFile(app / "game.lst"), list);
    EXPECT_TRUE(fs::is_symlink(app / "game.var"));
    EXPECT_TRUE(fs::is_symlink(app / "assist.var"));
    EXPECT_FALSE(fs::exists(root / "gone"));
    // Plain files stay where they always were.
    EXPECT_EQ(places.undoFile().parent_path(), app);
    fs::remove(app / "game.var");
    EXPECT_EQ(places.settingsFile(), app / "game.var");
}

TEST_F(FilePlacesTest, UserFolderFromTheEnvironment) {
    const struct {
        const char* xdg;
        const char* home;
        std::string expected;
    } cases[] = {
        {"/data/x", "/home/p", "/data/x/sokoban"},
        {nullptr, "/home/p", "/home/p/.local/share/sokoban"},
        {"", "/home/p", "/home/p/.local/share/sokoban"},
        {"relative/x", "/home/p", "/home/p/.local/share/sokoban"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xdg ? c.xdg : "(unset)");
        EnvVar xdg("XDG_DATA_HOME", c.xdg), home("HOME", c.home);
        EXPECT_EQ(userDataDir(), fs::path(c.expected));
    }
    EnvVar xdg("XDG_DATA_HOME", nullptr), home("HOME", nullptr);
    EXPECT_TRUE(userDataDir().is_absolute());
    EXPECT_EQ(userDataDir().filename(), "sokoban");
}

TEST_F(FilePlacesTest, StaleUndoHistoriesOfEndedCopiesGo) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0); // a copy that has ended
    const FilePlaces places(app, user, [](const fs::path&) { return true; });
    const std::string dead = "game-" + std::to_string(child) + ".tmp";
    const std::string alive = "game-" + std::to_string(::getppid()) + ".tmp";
    const std::string own = "game-" + pid + ".tmp";
    // A killed writer's unfinished new copy goes too; a live writer's stays.
    const std::string deadCopy = ".game.var." + std::to_string(child) + ".0.new";
    const std::string liveCopy = ".game.sav." + pid + ".3.new";
    for (const std::string& name :
         {dead, alive, own, std::string("game.tmp"), std::string("game-x1.tmp"),
          std::string("game-123.sav"), std::string("game-.tmp"), deadCopy, liveCopy})
        RecordFile(app / name, 756).create();
    places.removeStaleUndoFiles();
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(app))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{alive, own, "game.tmp", "game-x1.tmp", "game-123.sav",
                                           "game-.tmp", liveCopy}));
}

TEST_F(FilePlacesTest, UndoFileOwner) {
    const struct {
        const char* name;
        long pid;
    } cases[] = {{"game-42.tmp", 42}, {"game-1.tmp", 1},   {"game.tmp", 0},
                 {"game-.tmp", 0},    {"game-4a.tmp", 0},  {"game-42.tmpx", 0},
                 {"xgame-42.tmp", 0}, {"game--42.tmp", 0}, {"game-1234567890.tmp", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(undoFileOwner(c.name), c.pid) << c.name;
    const struct {
        const char* name;
        long pid;
    } copies[] = {{".game.sav.42.0.new", 42}, {".a.b.sol.7.15.new", 7}, {".game.sav.42.new", 0},
                  {"game.sav.42.0.new", 0},   {".game.sav.x.0.new", 0}, {".game.sav.42.0.old", 0},
                  {"..1.2.new", 1},           {".1.2.new", 0}};
    for (const auto& c : copies)
        EXPECT_EQ(unfinishedCopyOwner(c.name), c.pid) << c.name;
}

TEST_F(FilePlacesTest, ReadOnlyFolderAsThePlayerSeesIt) {
    if (::geteuid() == 0) GTEST_SKIP() << "every folder is writable for root";
    fs::permissions(cd, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(isWritableDir(cd));
    EXPECT_TRUE(isWritableDir(mine));
    EXPECT_FALSE(isWritableDir(root / "none"));
    fs::permissions(cd, fs::perms::owner_write, fs::perm_options::add);
}

} // namespace
