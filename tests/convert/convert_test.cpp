// Converting level sets of the older 16 x 20 grid: the record mapping byte by
// byte, whole files in place, and the menu command with its questions.
#include "../test_files.h"
#include "session/convert_command.h"
#include "storage/convert.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/resource.h>
#include <unistd.h>

using namespace sokoban;
namespace fs = std::filesystem;

namespace {

using sokoban::testing::contents;
using sokoban::testing::writeBytes;

// An old record laid out by hand: worker index (16-bit, low byte first), then
// 16 rows of 20 cell codes.
Bytes oldRecord(int man, int seed) {
    Bytes b(322);
    b[0] = static_cast<std::uint8_t>(man & 0xff);
    b[1] = static_cast<std::uint8_t>((man >> 8) & 0xff);
    for (int i = 0; i < 320; ++i)
        b[2 + i] = static_cast<std::uint8_t>((i + seed) % 5 + 1);
    return b;
}

Bytes oldFile(int levels) {
    Bytes b;
    for (int k = 0; k < levels; ++k) {
        const Bytes r = oldRecord(21 + k, k);
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}

struct Scratch {
    fs::path dir;
    Scratch() {
        static int n = 0;
        dir = fs::temp_directory_path() /
              ("sokoban-convert-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

TEST(ConvertLevel, WorkerIndexMovesIntoTheMiddleOfTheLargerGrid) {
    const struct {
        int old, converted;
    } cases[] = {
        {21, 144},      // row 1, column 1 -> row 4, column 8
        {0, 109},       // top-left corner -> row 3, column 7
        {19, 128},      // end of the first row -> row 3, column 26
        {319, 638},     // bottom-right corner -> row 18, column 26
        {-1, 108},      // division truncates toward zero
        {-21, 74},      //
        {32767, -9728}, // 55808 wraps in 16 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convertOldManIndex(static_cast<std::int16_t>(c.old)), c.converted) << c.old;
        const TMazeData m = convertOldLevel(oldRecord(c.old, 0));
        EXPECT_EQ(m.man, c.converted) << c.old;
    }
}

TEST(ConvertLevel, OldCellsLandInRows3To18AndColumns7To26) {
    const Bytes old = oldRecord(21, 3);
    const Bytes converted = convertOldLevel(old).encode();
    ASSERT_EQ(converted.size(), 750u);
    // The worker field, little-endian: 144 = 0x0090.
    EXPECT_EQ(converted[0], 0x90);
    EXPECT_EQ(converted[1], 0x00);
    // Row by row: the old row's 20 codes in columns 7..26, outside everywhere else.
    for (int row = 0; row < 22; ++row) {
        for (int col = 0; col < 34; ++col) {
            const std::uint8_t got = converted[2 + static_cast<std::size_t>(row * 34 + col)];
            const bool inside = row >= 3 && row <= 18 && col >= 7 && col <= 26;
            const std::uint8_t want =
                inside ? old[2 + static_cast<std::size_t>((row - 3) * 20 + col - 7)] : 0;
            ASSERT_EQ(got, want) << "row " << row << " column " << col;
        }
    }
}

TEST(ConvertLevelSet, WholeRecordsOnlyAndInOrder) {
    const struct {
        std::size_t bytes, levels;
    } cases[] = {{0, 0}, {321, 0}, {322, 1}, {966, 3}, {966 + 100, 3}, {322 * 375, 375}};
    for (const auto& c : cases) {
        Bytes old = oldFile(static_cast<int>(c.bytes / 322));
        old.resize(c.bytes, 7);
        const Bytes converted = convertOldLevelSet(old);
        ASSERT_EQ(converted.size(), c.levels * 750) << c.bytes;
        for (std::size_t k = 0; k < c.levels; ++k) {
            const Bytes one = convertOldLevel(std::span(old).subspan(k * 322, 322)).encode();
            ASSERT_TRUE(std::equal(one.begin(), one.end(), converted.begin() + k * 750)) << k;
        }
    }
    EXPECT_TRUE(mayBeCurrentLayout(0));
    EXPECT_TRUE(mayBeCurrentLayout(322 * 375)); // also an old file of 375 levels
    EXPECT_FALSE(mayBeCurrentLayout(966));
    EXPECT_TRUE(isOldLayoutSize(966));
    EXPECT_FALSE(isOldLayoutSize(0));
    EXPECT_FALSE(isOldLayoutSize(967));
}

std::set<std::string> names(const fs::path& dir) {
    std::set<std::string> n;
    for (const auto& e : fs::directory_iterator(dir))
        n.insert(e.path().filename().string());
    return n;
}

// The menu command: what is asked, what is shown, what the file becomes. The
// companion files and every other file in the folder - also files named like
// a working file - stay as they were, and no working file is left behind.
TEST(ConvertCommand, QuestionsMessagesAndResults) {
    using Said = ScriptedDialogs::Said;
    const Said question{MessageKind::Confirmation, MessageId::LooksConverted},
        done{MessageKind::Information, MessageId::ConvertDone},
        refused{MessageKind::Error, MessageId::BadLevelSetFile};
    const Bytes bothLayouts(322 * 375, 2); // 161 current levels or 375 old ones
    Bytes torn = oldFile(3);
    torn.resize(966 + 100, 7);
    const struct {
        const char* what;
        const char* name;
        Bytes before;
        std::deque<bool> answers;
        std::vector<Said> said;
        Bytes after;
    } cases[] = {
        {"3 old levels: no question",
         "a.box",
         oldFile(3),
         {},
         {done},
         convertOldLevelSet(oldFile(3))},
        {"current layout, No", "a.box", bothLayouts, {false}, {question}, bothLayouts},
        {"current layout, Yes: garbled",
         "a.box",
         bothLayouts,
         {true},
         {question, done},
         convertOldLevelSet(bothLayouts)},
        {"375 old levels, Yes",
         "a.box",
         oldFile(375),
         {true},
         {question, done},
         convertOldLevelSet(oldFile(375))},
        {"current layout only: refused", "a.box", Bytes(1500, 2), {}, {refused}, Bytes(1500, 2)},
        {"partial old record: refused", "a.box", torn, {}, {refused}, torn},
        {"shorter than a record: refused", "a.box", Bytes(321, 1), {}, {refused}, Bytes(321, 1)},
        {"empty file: refused", "a.box", Bytes{}, {}, {refused}, Bytes{}},
        {"named like a working file",
         "newnew.box",
         oldFile(2),
         {},
         {done},
         convertOldLevelSet(oldFile(2))},
    };
    const Bytes unrelated(750, 4);
    for (const auto& c : cases) {
        Scratch s;
        const fs::path file = s.dir / c.name;
        for (const char* other : {"newnew.box", "newnew1.box"})
            writeBytes(s.dir / other, unrelated);
        writeBytes(file, c.before);
        writeBytes(s.dir / "a.sav", Bytes(4536, 9));
        const auto before = names(s.dir);
        ScriptedDialogs dialogs;
        dialogs.fileAnswers.push_back(file.string());
        dialogs.confirmAnswers = c.answers;
        N1251Click(dialogs);
        EXPECT_EQ(dialogs.filterMessages, std::vector<Message>{MessageId::OldLevelSetFilter});
        EXPECT_EQ(dialogs.said, c.said) << c.what;
        EXPECT_EQ(contents(file), c.after) << c.what;
        EXPECT_EQ(contents(s.dir / "a.sav"), Bytes(4536, 9)) << c.what;
        for (const char* other : {"newnew.box", "newnew1.box"}) {
            if (file.filename() == other) continue;
            EXPECT_EQ(contents(s.dir / other), unrelated) << c.what;
        }
        EXPECT_EQ(names(s.dir), before) << c.what;
    }
}

TEST(ConvertCommand, ConvertedFileKeepsItsPermissions) {
    Scratch s;
    const fs::path file = s.dir / "old.box";
    writeBytes(file, oldFile(2));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(convertLevelSetFile(file), 2);
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Cancel does nothing; a failed file operation is reported, never followed by
// the completion message; the original stays as it was and the half-written
// new file goes again.
TEST(ConvertCommand, CancelAndFileErrors) {
    ScriptedDialogs cancelled;
    N1251Click(cancelled);
    EXPECT_TRUE(cancelled.shown.empty());

    Scratch s;
    writeBytes(s.dir / "big.box", oldFile(375));
    fs::create_directory(s.dir / "folder.box");
    // Writes past 100 000 bytes fail, so the new file cannot be completed.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    for (const fs::path& file : {s.dir / "gone.box", s.dir / "folder.box", s.dir / "big.box"}) {
        ScriptedDialogs dialogs;
        dialogs.fileAnswers.push_back(file.string());
        dialogs.confirmAnswers = {true};
        N1251Click(dialogs);
        const auto& last = dialogs.said.back();
        EXPECT_EQ(last.kind, MessageKind::Error) << file;
        EXPECT_EQ(last.message.id, MessageId::FileOperationFailed) << file;
        EXPECT_EQ(last.message.args, std::vector<std::string>{file.string()}) << file;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(contents(s.dir / "big.box"), oldFile(375));
    EXPECT_EQ(names(s.dir), (std::set<std::string>{"big.box", "folder.box"}));
}

} // namespace
