// Converting level sets of the older 16 x 20 grid: the record mapping byte by
// byte, whole files in place, and the menu command with its questions.
#include "convert/convert_command.h"
#include "levels/convert.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace sokoban;
namespace fs = std::filesystem;

namespace {

Bytes contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& p, const Bytes& b) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

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
}

// The menu command: what is asked, what is shown, what the file becomes. The
// companion files and nothing else in the folder change.
TEST(ConvertCommand, QuestionsMessagesAndResults) {
    const std::string ask = "这个文件好像已经是新版本的文件了，真的要转换吗？";
    const ScriptedDialogs::Shown question{MessageKind::Confirmation, ask},
        done{MessageKind::Information, "转换完毕！"};
    const struct {
        const char* what;
        const char* name;
        Bytes before;
        std::deque<bool> answers;
        std::vector<ScriptedDialogs::Shown> shown;
        Bytes after;
    } cases[] = {
        {"3 old levels: no question",
         "a.box",
         oldFile(3),
         {},
         {done},
         convertOldLevelSet(oldFile(3))},
        {"current layout, No", "a.box", Bytes(1500, 2), {false}, {question}, Bytes(1500, 2)},
        {"current layout, Yes: garbled",
         "a.box",
         Bytes(1500, 2),
         {true},
         {question, done},
         convertOldLevelSet(Bytes(1500, 2))},
        {"375 old levels, Yes",
         "a.box",
         oldFile(375),
         {true},
         {question, done},
         convertOldLevelSet(oldFile(375))},
        {"empty file", "a.box", Bytes{}, {true}, {question, done}, Bytes{}},
        {"named like the working file",
         "newnew.box",
         oldFile(2),
         {},
         {done},
         convertOldLevelSet(oldFile(2))},
    };
    for (const auto& c : cases) {
        Scratch s;
        const fs::path file = s.dir / c.name;
        writeBytes(file, c.before);
        writeBytes(s.dir / "a.sav", Bytes(4536, 9));
        ScriptedDialogs dialogs;
        dialogs.fileAnswers.push_back(file.string());
        dialogs.confirmAnswers = c.answers;
        N1251Click(dialogs);
        EXPECT_EQ(dialogs.fileFilters, std::vector<std::string>{"游戏文件(*.box)|*.box"});
        EXPECT_EQ(dialogs.shown, c.shown) << c.what;
        EXPECT_EQ(contents(file), c.after) << c.what;
        EXPECT_EQ(contents(s.dir / "a.sav"), Bytes(4536, 9)) << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(s.dir), {}), 2) << c.what;
    }
}

// Cancel does nothing; a failed file operation is reported, never followed by
// the completion message, and the original stays as it was.
TEST(ConvertCommand, CancelAndFileErrors) {
    ScriptedDialogs cancelled;
    N1251Click(cancelled);
    EXPECT_TRUE(cancelled.shown.empty());

    Scratch s;
    writeBytes(s.dir / "old.box", oldFile(3));
    fs::create_directory(s.dir / "blocked");
    writeBytes(s.dir / "blocked" / "old.box", oldFile(3));
    fs::create_directory(s.dir / "blocked" / "newnew.box"); // no working file possible
    for (const fs::path& file : {s.dir / "gone.box", s.dir / "blocked" / "old.box"}) {
        ScriptedDialogs dialogs;
        dialogs.fileAnswers.push_back(file.string());
        N1251Click(dialogs);
        ASSERT_EQ(dialogs.shown.size(), 1u) << file;
        EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
        EXPECT_EQ(dialogs.shown[0].text.rfind("文件操作失败：", 0), 0u);
    }
    EXPECT_EQ(contents(s.dir / "blocked" / "old.box"), oldFile(3));
    EXPECT_FALSE(fs::exists(s.dir / "newnew.box"));
}

} // namespace
