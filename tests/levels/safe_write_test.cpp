// Writes of the player's progress under faults: a full disk, a size limit, a
// writer killed in the middle, a pipe or folder in place of a file. The file
// is always either the old or the new contents.
#include "storage/level_set.h"
#include "storage/safe_write.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sokoban;
namespace fs = std::filesystem;

namespace {

Bytes contents(const fs::path& p) {
    return readPlainFile(p);
}

std::set<std::string> names(const fs::path& dir) {
    std::set<std::string> s;
    for (const auto& e : fs::directory_iterator(dir))
        s.insert(e.path().filename().string());
    return s;
}

Bytes filled(std::size_t n, std::uint8_t b) {
    return Bytes(n, b);
}

class SafeWriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/safe_write_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
        ::alarm(60); // a blocked open must fail the test, not hang it
    }
    void TearDown() override {
        ::alarm(0);
        if (mounted) ::umount(dir.c_str());
        fs::remove_all(dir);
    }
    fs::path dir;
    bool mounted = false;
};

// Each case changes a file of the player's progress that holds `before`.
struct Change {
    const char* what;
    const char* file;
    std::function<void(const fs::path&)> run;
};

const Bytes kBefore = [] {
    Bytes b;
    for (int i = 0; i < 6; ++i)
        b.insert(b.end(), TAnswerData::kSize, std::uint8_t(0x41 + i));
    return b;
}();

std::vector<Change> progressChanges() {
    const auto sol = [](const fs::path& p) {
        return RecordFile(p, TAnswerData::kSize, Writes::WholeCopy);
    };
    return {
        {"record", "a.sol", [=](const fs::path& p) { sol(p).write(2, filled(1029, 0x7a)); }},
        {"padding", "a.sol", [=](const fs::path& p) { sol(p).padTo(12, filled(1029, 0)); }},
        {"cut", "a.sol", [=](const fs::path& p) { sol(p).truncate(3); }},
        {"emptied", "a.sol", [=](const fs::path& p) { sol(p).create(); }},
        {"settings", "game.var", [](const fs::path& p) { saveSettings(p, TGameVar{}); }},
        {"list", "game.lst",
         [](const fs::path& p) {
             writeGameList(p, {"/x/一.box", std::string(9000, 'y')});
         }},
    };
}

// A file that holds kBefore, with a "new" content written for comparison.
void prepare(const fs::path& p) {
    RecordFile(p, 1).write(0, kBefore);
    ::chmod(p.c_str(), 0640);
}

TEST_F(SafeWriteTest, FullDiskLeavesThePreviousContents) {
    if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "no tmpfs here: " << std::strerror(errno);
    mounted = true;
    for (const auto& c : progressChanges()) {
        if (std::string(c.what) == "emptied") continue; // needs no room
        SCOPED_TRACE(c.what);
        const fs::path file = dir / c.file, filler = dir / "filler";
        prepare(file);
        {
            PlainFile f(filler, O_WRONLY | O_CREAT | O_TRUNC);
            const Bytes chunk(4096, 1);
            std::uint64_t off = 0;
            try {
                for (;; off += chunk.size())
                    f.writeAt(chunk.data(), chunk.size(), off);
            } catch (const FileError&) {
            }
            try {
                for (;; ++off)
                    f.writeAt(chunk.data(), 1, off);
            } catch (const FileError& e) {
                EXPECT_EQ(e.systemError(), ENOSPC);
            }
        }
        try {
            c.run(file);
            ADD_FAILURE() << "a write on a full disk went through";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path(), file);
            EXPECT_EQ(e.reason(), FileReason::System);
            EXPECT_EQ(e.systemError(), ENOSPC);
        }
        EXPECT_EQ(contents(file), kBefore);
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms(0640));
        EXPECT_EQ(names(dir), (std::set<std::string>{c.file, "filler"}));
        fs::remove(filler);
        c.run(file); // with room again it works
        EXPECT_NE(contents(file), kBefore);
        fs::remove(file);
    }
}

TEST_F(SafeWriteTest, SizeLimitLeavesThePreviousContents) {
    // The same fault without a file system of our own: the process may not
    // write beyond a few bytes more than the file holds, and each change
    // makes the file longer than that.
    const auto sol = [](const fs::path& p) {
        return RecordFile(p, TAnswerData::kSize, Writes::WholeCopy);
    };
    const Change cases[] = {
        {"record", "a.sol", [=](const fs::path& p) { sol(p).write(7, filled(1029, 1)); }},
        {"padding", "a.sol", [=](const fs::path& p) { sol(p).padTo(12, filled(1029, 0)); }},
        {"list", "game.lst",
         [](const fs::path& p) {
             writeGameList(p, {"/x/一.box", std::string(9000, 'y')});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = dir / c.file;
        prepare(file);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit lim{kBefore.size() + 100, kBefore.size() + 100};
            ::setrlimit(RLIMIT_FSIZE, &lim);
            try {
                c.run(file);
            } catch (const FileError& e) {
                ::_exit(e.systemError() == EFBIG ? 0 : 2);
            }
            ::_exit(1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(contents(file), kBefore);
        EXPECT_EQ(names(dir), std::set<std::string>{c.file});
        fs::remove(file);
    }
}

TEST_F(SafeWriteTest, KilledWriterLeavesOldOrNew) {
    // The writer cuts a large answer file to half and pads it again, over and
    // over, and changes its first record; it is killed at random moments.
    constexpr std::size_t kRecords = 1600;
    const fs::path file = dir / "big.sol";
    const RecordFile sol(file, TAnswerData::kSize, Writes::WholeCopy);
    sol.padTo(kRecords, filled(TAnswerData::kSize, 0));
    std::mt19937 random(12345);
    std::set<std::size_t> sizesSeen;
    for (int round = 0; round < 24; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            for (std::uint8_t g = 1;; ++g) {
                sol.truncate(kRecords / 2);
                if (g == 1) (void)!::write(ready[1], "x", 1);
                sol.padTo(kRecords, filled(TAnswerData::kSize, g));
                sol.write(0, filled(TAnswerData::kSize, static_cast<std::uint8_t>(g + 100)));
            }
        }
        ::close(ready[1]);
        char x;
        ASSERT_EQ(::read(ready[0], &x, 1), 1);
        ::close(ready[0]);
        ::usleep(std::uniform_int_distribution<unsigned>(0, 40000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const Bytes now = contents(file);
        sizesSeen.insert(now.size());
        ASSERT_TRUE(now.size() == kRecords * TAnswerData::kSize ||
                    now.size() == kRecords / 2 * TAnswerData::kSize)
            << "round " << round << ": " << now.size() << " bytes";
        for (std::size_t r = 0; r < now.size() / TAnswerData::kSize; ++r) {
            const auto* rec = &now[r * TAnswerData::kSize];
            ASSERT_EQ(std::count(rec, rec + TAnswerData::kSize, rec[0]), TAnswerData::kSize)
                << "round " << round << ", record " << r << " is torn";
        }
        // A killed writer may leave its unfinished new copy beside the file.
        for (const auto& name : names(dir))
            if (name != "big.sol") fs::remove(dir / name);
    }
    EXPECT_FALSE(sizesSeen.empty());
}

TEST_F(SafeWriteTest, OnlyPlainFilesAreOpened) {
    const fs::path pipe = dir / "pipe.sav", folder = dir / "folder.sav";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    fs::create_directory(folder);
    const Bytes rec(756, 1);
    const struct {
        const char* what;
        std::function<void(const fs::path&)> run;
    } cases[] = {
        {"size", [](const fs::path& p) { RecordFile(p, 756).byteSize(); }},
        {"read", [](const fs::path& p) { RecordFile(p, 756).read(0); }},
        {"write", [&](const fs::path& p) { RecordFile(p, 756).write(0, rec); }},
        {"pad", [&](const fs::path& p) { RecordFile(p, 756).padTo(6, rec); }},
        {"create", [](const fs::path& p) { RecordFile(p, 756).create(); }},
        {"safe write",
         [&](const fs::path& p) { RecordFile(p, 756, Writes::WholeCopy).write(0, rec); }},
        {"safe pad",
         [&](const fs::path& p) { RecordFile(p, 756, Writes::WholeCopy).padTo(6, rec); }},
        {"safe create", [](const fs::path& p) { RecordFile(p, 756, Writes::WholeCopy).create(); }},
        {"whole file", [](const fs::path& p) { readPlainFile(p); }},
        {"replace",
         [](const fs::path& p) {
             replaceFileContents(p, {1, 2});
         }},
        {"settings", [](const fs::path& p) { loadSettings(p, 800, 600); }},
        {"settings back", [](const fs::path& p) { saveSettings(p, TGameVar{}); }},
    };
    for (const fs::path& p : {pipe, folder}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << p.filename() << " " << c.what);
            EXPECT_FALSE(RecordFile(p, 756).exists());
            try {
                c.run(p);
                ADD_FAILURE() << "opened";
            } catch (const FileError& e) {
                EXPECT_EQ(e.reason(), FileReason::NotPlainFile);
                EXPECT_EQ(e.path(), p);
            }
        }
        EXPECT_EQ(readGameList(p), std::vector<std::string>{});
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(fs::is_directory(folder));

    // A pipe in place of a companion file stops the opening with the error.
    RecordFile(dir / "pipe.box", 750).write(0, Bytes(750, 0));
    EXPECT_THROW(openLevelSet((dir / "pipe.box").string(), dir), FileError);
}

TEST_F(SafeWriteTest, ReplacingKeepsPermissions) {
    const fs::path file = dir / "real.bst";
    RecordFile(file, 4, Writes::WholeCopy).write(1, {1, 2, 3, 4});
    EXPECT_EQ(contents(file), (Bytes{0, 0, 0, 0, 1, 2, 3, 4}));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms(0666 & ~mask));
    ::chmod(file.c_str(), 0604);
    RecordFile(file, 4, Writes::WholeCopy).write(0, {9, 9, 9, 9});
    EXPECT_EQ(contents(file), (Bytes{9, 9, 9, 9, 1, 2, 3, 4}));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms(0604));
    EXPECT_EQ(names(dir), std::set<std::string>{"real.bst"});
}

TEST_F(SafeWriteTest, LinksAndReadOnlyFilesAreNeverWritten) {
    // A link to some other file of the player's, a link that leads nowhere,
    // and a file the player made read-only: every kind of write refuses, and
    // links, target and file stay exactly as they were.
    const fs::path victim = dir / "notes.txt", link = dir / "x.sav", dangling = dir / "y.bst",
                   kept = dir / "z.sol";
    const Bytes victimBytes(1342, 'v');
    RecordFile(victim, 1).write(0, victimBytes);
    prepare(kept);
    ::chmod(kept.c_str(), 0444);
    fs::create_symlink("notes.txt", link);
    fs::create_symlink("gone.bst", dangling);
    const Bytes rec(756, 1);
    const auto whole = [](const fs::path& p) { return RecordFile(p, 756, Writes::WholeCopy); };
    const struct {
        const char* what;
        bool inPlace; // the undo history: root may write a read-only file in place
        std::function<void(const fs::path&)> run;
    } writes[] = {
        {"record", false, [&](const fs::path& p) { whole(p).write(0, rec); }},
        {"merge", false,
         [&](const fs::path& p) { whole(p).update(1, [&](const Bytes&) { return rec; }); }},
        {"padding", false, [&](const fs::path& p) { whole(p).padTo(9, rec); }},
        {"cut", false, [&](const fs::path& p) { whole(p).truncate(0); }},
        {"emptied", false, [&](const fs::path& p) { whole(p).create(); }},
        {"replace", false,
         [](const fs::path& p) {
             replaceFileContents(p, {1, 2});
         }},
        {"settings", false, [](const fs::path& p) { saveSettings(p, TGameVar{}); }},
        {"list", false, [](const fs::path& p) { writeGameList(p, {"/x/一.box"}); }},
        {"in place", true, [&](const fs::path& p) { RecordFile(p, 756).write(0, rec); }},
        {"in place new", true, [&](const fs::path& p) { RecordFile(p, 756).create(); }},
    };
    const std::set<std::string> before = names(dir);
    for (const fs::path& p : {link, dangling, kept}) {
        EXPECT_TRUE(isUnwritableFile(p)) << p;
        for (const auto& w : writes) {
            if (p == kept && w.inPlace) continue;
            SCOPED_TRACE(testing::Message() << p.filename() << " " << w.what);
            try {
                w.run(p);
                ADD_FAILURE() << "written";
            } catch (const FileError& e) {
                // Cutting reads the size first, through the link.
                const bool nowhere = p == dangling && std::string(w.what) == "cut";
                EXPECT_EQ(e.reason(), p == kept ? FileReason::ReadOnlyFile
                                      : nowhere ? FileReason::System
                                                : FileReason::SymbolicLink);
                EXPECT_EQ(e.systemError(), nowhere ? ENOENT : 0);
                EXPECT_EQ(e.path(), p);
            }
        }
    }
    EXPECT_EQ(contents(victim), victimBytes);
    EXPECT_EQ(fs::read_symlink(link), "notes.txt");
    EXPECT_EQ(fs::read_symlink(dangling), "gone.bst");
    EXPECT_EQ(contents(kept), kBefore);
    EXPECT_EQ(fs::status(kept).permissions() & fs::perms::all, fs::perms(0444));
    EXPECT_EQ(names(dir), before); // no new copy left behind, no target made
    // Reading through a link stays allowed.
    EXPECT_EQ(RecordFile(link, 2).read(3), (Bytes{'v', 'v'}));
    EXPECT_FALSE(isUnwritableFile(victim));
    EXPECT_FALSE(isUnwritableFile(dir / "missing.sav"));
    EXPECT_FALSE(isUnwritableFile(dir));
}

TEST_F(SafeWriteTest, CopiesChangingOneFileTakeTurns) {
    // Four processes add one to a count 25 times each. A change read before
    // another's rename and written after it would lose that one.
    const RecordFile count(dir / "count.sav", 2, Writes::WholeCopy);
    count.write(0, {0, 0});
    std::vector<pid_t> children;
    for (int c = 0; c < 4; ++c) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0; i < 25; ++i)
                count.update(0, [](const Bytes& now) -> std::optional<Bytes> {
                    Bytes next(2);
                    writeI16(next.data(), static_cast<std::int16_t>(readI16(now.data()) + 1));
                    return next;
                });
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(readI16(count.read(0).data()), 100);
}

TEST_F(SafeWriteTest, FilesSwitchedTogetherAreAllOldOrAllNew) {
    // Three files, one in another folder, replaced as one; the writer is
    // killed at every step of the renames in turn, and the next start
    // finishes what it left.
    fs::create_directory(dir / "own");
    const fs::path journal = dir / "set.switch";
    const std::vector<fs::path> files = {dir / "set.box", dir / "set.idx", dir / "own" / "set.sav"};
    const auto put = [&](const char* what) {
        for (const auto& f : files)
            replaceFileContents(f, Bytes(what, what + 3));
    };
    const auto state = [&] {
        std::set<std::string> seen;
        for (const auto& f : files) {
            const Bytes b = contents(f);
            seen.insert(std::string(b.begin(), b.end()));
        }
        return seen;
    };
    std::set<int> outcomes;
    for (int stop = 1;; ++stop) {
        SCOPED_TRACE(stop);
        put("old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int step = 0;
            setRenameObserver([&](const fs::path&, RenameStep) {
                if (++step == stop) ::_exit(1); // no clean-up, as after a kill
            });
            FileSwitch change(journal);
            for (const auto& f : files)
                change.stage(f, Bytes{'n', 'e', 'w'});
            change.commit();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        finishFileSwitch(journal, files);
        const auto now = state();
        ASSERT_EQ(now.size(), 1u) << "a mixture";
        outcomes.insert(*now.begin() == "new");
        // Only the unfinished copy of a journal a kill cut short may stay,
        // as after any write a kill cuts short.
        std::set<std::string> left = names(dir);
        std::erase_if(left, [](const std::string& n) { return unfinishedCopyOwner(n) != 0; });
        EXPECT_EQ(left, (std::set<std::string>{"set.box", "set.idx", "own"}));
        EXPECT_EQ(names(dir / "own"), std::set<std::string>{"set.sav"});
        if (WEXITSTATUS(status) == 0) break; // it got to the end
    }
    EXPECT_EQ(outcomes, (std::set<int>{0, 1}));

    // A journal moves only the files of the set it belongs to.
    const fs::path other = dir / "notes.txt";
    RecordFile(other, 1).write(0, {'a'});
    RecordFile(nextCopyName(other), 1).write(0, {'b'});
    const std::string named = other.string();
    replaceFileContents(journal, Bytes(named.begin(), named.end()));
    finishFileSwitch(journal, files);
    EXPECT_EQ(contents(other), Bytes{'a'});
    EXPECT_FALSE(fs::exists(journal));
}

// The game's own reasons and the system's, as codes; the window words them.
TEST(FileErrorTest, ReasonsOfTheGameAndOfTheSystem) {
    char pattern[] = "/tmp/reasons_XXXXXX";
    const int fd = ::mkstemp(pattern);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const RecordFile f(pattern, 4);
    const struct {
        const char* what;
        std::function<void()> run;
        FileReason reason;
        int systemError;
    } cases[] = {
        {"beyond the end", [&] { f.read(0); }, FileReason::ReadBeyondEnd, 0},
        {"negative record", [&] { f.read(-1); }, FileReason::InvalidRecord, 0},
        {"negative record written",
         [&] {
             f.write(-1, {1, 2, 3, 4});
         },
         FileReason::InvalidRecord, 0},
        {"missing folder", [&] { RecordFile("/tmp/no/such/file", 4).read(0); }, FileReason::System,
         ENOENT},
        {"the same reason elsewhere",
         [&] { throw FileError("/b", FileError("/a", FileReason::SymbolicLink)); },
         FileReason::SymbolicLink, 0},
        {"the same system error elsewhere", [&] { throw FileError("/b", FileError("/a", EACCES)); },
         FileReason::System, EACCES},
    };
    for (const auto& c : cases) {
        try {
            c.run();
            ADD_FAILURE() << c.what;
        } catch (const FileError& e) {
            EXPECT_EQ(e.reason(), c.reason) << c.what;
            EXPECT_EQ(e.systemError(), c.systemError) << c.what;
        }
    }
    ::unlink(pattern);
}

} // namespace
