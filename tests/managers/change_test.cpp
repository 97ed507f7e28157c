#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "storage/file_error.h"
#include "ui/designer/change.h"
#include "ui/designer/level_set_rewrite.h"
#include "ui/main/main_form.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sokoban::testing {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// Level n, told apart by its first cell.
TMazeData numbered(int n) {
    TMazeData m = makeLevel({"#####", "#@$.#", "#####"}, 9, 14);
    m.cells[0] = static_cast<std::uint8_t>(n);
    return m;
}
std::vector<TMazeData> levels(std::initializer_list<int> ns) {
    std::vector<TMazeData> out;
    for (int n : ns)
        out.push_back(numbered(n));
    return out;
}
Bytes levelBytes(const std::vector<TMazeData>& ls) {
    Bytes all;
    for (const auto& l : ls) {
        const Bytes b = l.encode();
        all.insert(all.end(), b.begin(), b.end());
    }
    return all;
}
Texts entries(std::initializer_list<int> ns) {
    Texts out;
    for (int n : ns)
        out.push_back("关卡: " + std::to_string(n));
    return out;
}

class ChangeTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TformChange> change;

    void SetUp() override {
        writeLevelSet(dir.path / "game.box", {numbered(1)});
        MainFormServices services;
        services.dialogs = &dialogs;
        main = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        main->FormCreate();
        change = std::make_unique<TformChange>(main->painter(), &dialogs);
        change->showManager();
        dialogs.takeTexts();
    }
    void TearDown() override {
        if (const char* shot = std::getenv("SOKOBAN_SCREENSHOT")) {
            const std::string name =
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
            change->grab().save(QString(shot) + "/change_" + QString::fromStdString(name) + ".png");
        }
        change.reset();
        main.reset();
    }

    fs::path file(const std::string& name) { return dir.path / name; }
    // Loads a file on a side through the open dialog.
    void load(int side, const fs::path& path) {
        dialogs.fileAnswers.push_back(path.string());
        click(side == 0 ? "load1" : "load2");
    }
    void click(const char* name) { change->button(name)->click(); }
    Texts texts(int side) {
        Texts out;
        for (int k = 0; k < change->listBox(side)->count(); ++k)
            out.push_back(change->listBox(side)->item(k)->text().toStdString());
        return out;
    }
    int selected(int side) {
        QListWidget* list = change->listBox(side);
        return list->currentItem() && list->currentItem()->isSelected() ? list->currentRow() : -1;
    }
    void pick(int side, int row) {
        QListWidget* list = change->listBox(side);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    // No temporary file is ever left beside the level sets.
    void expectNoLeftovers() {
        for (const auto& e : fs::directory_iterator(dir.path))
            EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
    }
};

TEST_F(ChangeTest, StartsEmptyWithItsCaptionsAndHints) {
    EXPECT_EQ(change->windowTitle().toStdString(), "关卡管理");
    EXPECT_EQ(change->edit(0)->text().toStdString(), "文件1");
    EXPECT_EQ(change->edit(1)->text().toStdString(), "文件2");
    const std::pair<const char*, const char*> hints[] = {
        {"load1", "打开文件1"},         {"load2", "打开文件2"},
        {"up1", "关卡位置向上移动"},    {"up2", "关卡位置向上移动"},
        {"down1", "关卡位置向下移动"},  {"down2", "关卡位置向下移动"},
        {"delete1", "删除关卡"},        {"delete2", "删除关卡"},
        {"bleft", "将关卡移到文件1中"}, {"bright", "将关卡移到文件2中"},
        {"BitBtn3", "刷新列表"},
    };
    for (const auto& [name, hint] : hints)
        EXPECT_EQ(change->button(name)->toolTip().toStdString(), hint) << name;
    EXPECT_EQ(change->previewImage().size(), QSize(340, 220));

    // Every command on empty sides does nothing, or warns where a copy needs a file.
    for (const char* name : {"up1", "down1", "delete1", "up2", "down2", "delete2", "BitBtn3"})
        click(name);
    click("bright");
    click("bleft");
    EXPECT_EQ(dialogs.takeTexts(), Texts(2, "没有打开源文件或者没有指定要复制的关卡!"));
}

TEST_F(ChangeTest, LoadListsTheLevelsAndSelectsTheFirstWithoutPreview) {
    writeLevelSet(file("a.box"), levels({1, 2, 3}));
    load(0, file("a.box"));
    EXPECT_EQ(dialogs.fileFilters.back(), "推箱子游戏文件(*.box)|*.box");
    EXPECT_EQ(change->fileName(0), file("a.box").string());
    EXPECT_EQ(change->edit(0)->text().toStdString(), file("a.box").string());
    EXPECT_EQ(texts(0), entries({1, 2, 3}));
    EXPECT_EQ(selected(0), 0);
    EXPECT_EQ(change->count(0), 3);
    EXPECT_EQ(change->preview(), TMazeData{});

    // Cancel keeps the side as it was.
    dialogs.fileAnswers.push_back(std::nullopt);
    click("load1");
    EXPECT_EQ(change->fileName(0), file("a.box").string());
}

TEST_F(ChangeTest, MovesAndDeletesRewriteTheFileAndKeepTheOldNumbers) {
    struct Case {
        const char* name;
        int levelsInFile;
        std::vector<std::string> steps; // "select N", "up", "down", "delete", "refresh"
        std::vector<int> fileOrder;
        Texts shown;
        int selection;
    };
    const Case cases[] = {
        {"third up", 5, {"select 2", "up"}, {1, 3, 2, 4, 5}, entries({1, 3, 2, 4, 5}), 1},
        {"third down", 5, {"select 2", "down"}, {1, 2, 4, 3, 5}, entries({1, 2, 4, 3, 5}), 3},
        {"first up", 5, {"select 0", "up"}, {1, 2, 3, 4, 5}, entries({1, 2, 3, 4, 5}), 0},
        {"last down", 5, {"select 4", "down"}, {1, 2, 3, 4, 5}, entries({1, 2, 3, 4, 5}), 4},
        {"up twice", 5, {"select 3", "up", "up"}, {1, 4, 2, 3, 5}, entries({1, 4, 2, 3, 5}), 1},
        {"refresh renumbers",
         5,
         {"select 2", "up", "refresh"},
         {1, 3, 2, 4, 5},
         entries({1, 2, 3, 4, 5}),
         -1},
        {"nothing selected",
         5,
         {"refresh", "up", "down", "delete"},
         {1, 2, 3, 4, 5},
         entries({1, 2, 3, 4, 5}),
         -1},
        {"delete middle", 5, {"select 1", "delete"}, {1, 3, 4, 5}, entries({1, 3, 4, 5}), 1},
        {"delete last", 5, {"select 4", "delete"}, {1, 2, 3, 4}, entries({1, 2, 3, 4}), 3},
        {"delete after a move",
         5,
         {"select 0", "down", "delete"},
         {2, 3, 4, 5},
         entries({2, 3, 4, 5}),
         1},
        {"delete the only level", 1, {"select 0", "delete"}, {}, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> all;
        for (int n = 1; n <= c.levelsInFile; ++n)
            all.push_back(n);
        std::vector<TMazeData> start;
        for (int n : all)
            start.push_back(numbered(n));
        writeLevelSet(file("a.box"), start);
        load(0, file("a.box"));
        for (const std::string& step : c.steps) {
            if (step.starts_with("select "))
                pick(0, std::stoi(step.substr(7)));
            else if (step == "up")
                click("up1");
            else if (step == "down")
                click("down1");
            else if (step == "delete")
                click("delete1");
            else if (step == "refresh")
                click("BitBtn3");
        }
        std::vector<TMazeData> expected;
        for (int n : c.fileOrder)
            expected.push_back(numbered(n));
        EXPECT_EQ(readFile(file("a.box")), levelBytes(expected));
        EXPECT_EQ(texts(0), c.shown);
        EXPECT_EQ(selected(0), c.selection);
        EXPECT_EQ(dialogs.takeTexts(), Texts{});
    }
    expectNoLeftovers();
}

TEST_F(ChangeTest, SideTwoMirrorsSideOne) {
    writeLevelSet(file("a.box"), levels({1, 2}));
    writeLevelSet(file("b.box"), levels({7, 8, 9}));
    load(0, file("a.box"));
    load(1, file("b.box"));
    pick(1, 2);
    click("up2");
    EXPECT_EQ(readFile(file("b.box")), levelBytes(levels({7, 9, 8})));
    click("delete2");
    EXPECT_EQ(readFile(file("b.box")), levelBytes(levels({7, 8})));
    EXPECT_EQ(texts(1), entries({1, 2}));
    EXPECT_EQ(readFile(file("a.box")), levelBytes(levels({1, 2})));
}

TEST_F(ChangeTest, CopyAppendsToTheOtherFileAndLeavesTheSource) {
    writeLevelSet(file("a.box"), levels({1, 2, 3}));
    writeLevelSet(file("b.box"), levels({7, 8}));
    load(0, file("a.box"));
    load(1, file("b.box"));
    pick(0, 1);
    click("bright");
    click("bright");
    EXPECT_EQ(readFile(file("b.box")), levelBytes(levels({7, 8, 2, 2})));
    EXPECT_EQ(texts(1), entries({1, 2, 3, 4}));
    EXPECT_EQ(selected(1), 3);
    EXPECT_EQ(change->count(1), 4);
    EXPECT_EQ(readFile(file("a.box")), levelBytes(levels({1, 2, 3})));

    // And back: the copied level lands behind the source's levels.
    pick(1, 0);
    click("bleft");
    EXPECT_EQ(readFile(file("a.box")), levelBytes(levels({1, 2, 3, 7})));
    EXPECT_EQ(texts(0), entries({1, 2, 3, 4}));
    EXPECT_EQ(dialogs.takeTexts(), Texts{});
    expectNoLeftovers();
}

TEST_F(ChangeTest, CopyWarnsWithoutASourceLevelOrATarget) {
    writeLevelSet(file("a.box"), levels({1, 2}));
    writeLevelSet(file("empty.box"), {});
    struct Case {
        const char* name;
        const char* left;  // loaded on side 1, or null
        const char* right; // loaded on side 2, or null
        bool refresh;      // clears the selections first
        const char* warning;
    };
    const Case cases[] = {
        {"no target", "a.box", nullptr, false, "没有打开目标文件!"},
        {"empty source", "empty.box", "a.box", false, "没有打开源文件或者没有指定要复制的关卡!"},
        {"no selection", "a.box", "empty.box", true, "没有打开源文件或者没有指定要复制的关卡!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        change = std::make_unique<TformChange>(main->painter(), &dialogs);
        if (c.left) load(0, file(c.left));
        if (c.right) load(1, file(c.right));
        if (c.refresh) click("BitBtn3");
        click("bright");
        EXPECT_EQ(dialogs.takeTexts(), Texts{c.warning});
    }
    // A file with no levels: an empty list, nothing selected, nothing written.
    EXPECT_EQ(texts(1), Texts{});
    EXPECT_EQ(readFile(file("empty.box")), Bytes{});
    EXPECT_EQ(readFile(file("a.box")), levelBytes(levels({1, 2})));
}

TEST_F(ChangeTest, TheSameFileIsNeverOpenOnBothSides) {
    writeLevelSet(file("a.box"), levels({1, 2}));
    writeLevelSet(file("b.box"), levels({7, 8, 9}));
    fs::create_symlink(file("a.box"), file("link.box"));
    load(0, file("a.box"));
    load(1, file("b.box"));
    for (const fs::path& same : {file("a.box"), dir.path / "." / "a.box", file("link.box")}) {
        load(1, same);
        EXPECT_EQ(dialogs.takeTexts(), Texts{"您已经打开这个文件了!"}) << same;
        EXPECT_EQ(change->fileName(1), file("b.box").string());
        EXPECT_EQ(texts(1), entries({1, 2, 3}));
    }
    // Reloading a side's own file is fine.
    load(0, file("a.box"));
    EXPECT_EQ(dialogs.takeTexts(), Texts{});
}

TEST_F(ChangeTest, ClickingAnEntryPreviewsItsLevel) {
    TMazeData level = makeLevel({"#######", "#.$ @ #", "#######"}, 2, 3);
    writeLevelSet(file("a.box"), {numbered(1), level});
    load(0, file("a.box"));
    pick(0, 1);
    EXPECT_EQ(change->preview(), level);

    const QImage& img = change->previewImage();
    auto cell = [&](int i) { return img.copy(i % kCols * 10, i / kCols * 10, 10, 10); };
    auto tile = [&](int code) {
        QImage t(10, 10, QImage::Format_RGB32);
        QPainter(&t).drawImage(t.rect(), main->painter().tiles[code]);
        return t;
    };
    const int wall = 2 * kCols + 3, box = 3 * kCols + 5, outside = 0;
    EXPECT_EQ(cell(wall), tile(kWall));
    EXPECT_EQ(cell(box), tile(kBox));
    EXPECT_EQ(img.pixel(outside, outside), qRgb(0, 0, 0));
    EXPECT_NE(cell(level.man), tile(kFloor)); // the worker stands there

    // Arrow keys preview the entry they move to.
    QTest::keyClick(change->listBox(0), Qt::Key_Up);
    EXPECT_EQ(change->preview(), numbered(1));
}

TEST_F(ChangeTest, ALevelTheFileNoLongerHoldsIsReportedAndNothingIsCut) {
    writeLevelSet(file("a.box"), levels({1, 2, 3, 4, 5}));
    load(0, file("a.box"));
    pick(0, 4);
    // Someone else shortens the file meanwhile.
    writeLevelSet(file("a.box"), levels({1, 2, 3}));
    for (const char* command : {"delete1", "up1"}) {
        click(command);
        const Texts shown = dialogs.takeTexts();
        ASSERT_EQ(shown.size(), 1u) << command;
        EXPECT_NE(shown[0].find("a.box"), std::string::npos);
        EXPECT_EQ(readFile(file("a.box")), levelBytes(levels({1, 2, 3}))) << command;
    }
    EXPECT_EQ(texts(0), entries({1, 2, 3, 4, 5}));
}

// Bytes this process has read from files so far.
long long bytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return -1;
}

// A preview reads the level shown, not the whole file: in a large set a click
// costs what it costs in a small one.
TEST_F(ChangeTest, APreviewReadsOnlyTheLevelShown) {
    if (bytesRead() < 0) GTEST_SKIP() << "no /proc/self/io";
    // 40 MB of levels, most of them blank (a sparse file, so the disk stays empty).
    writeLevelSet(file("large.box"), levels({1, 2, 3}));
    constexpr int kLevels = 55'000;
    fs::resize_file(file("large.box"), std::uintmax_t{kLevels} * 750);
    std::fstream(file("large.box"), std::ios::in | std::ios::out | std::ios::binary)
        .seekp(std::streamoff{kLevels - 1} * 750)
        .write(reinterpret_cast<const char*>(numbered(9).encode().data()), 750);
    load(0, file("large.box"));
    ASSERT_EQ(change->count(0), kLevels);
    for (int row : {2, kLevels - 1, 1}) {
        change->listBox(0)->scrollToItem(change->listBox(0)->item(row));
        const long long before = bytesRead();
        pick(0, row);
        const long long read = bytesRead() - before;
        EXPECT_LT(read, 64 * 1024) << row;
    }
    EXPECT_EQ(change->preview(), numbered(2));
    pick(0, kLevels - 1);
    EXPECT_EQ(change->preview(), numbered(9));
}

// A really full disk: a small file system of its own is mounted in a child
// process (a mount namespace, so nothing outside sees it) and filled up; then
// every rewrite must fail and leave the level set as it was.
TEST(LevelSetRewrite, AFullDiskLeavesTheOldFileWhole) {
    TempDir dir;
    const fs::path mountPoint = dir.path / "small";
    fs::create_directories(mountPoint);
    constexpr int kSkip = 77;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // In the child only plain calls, and _exit: the parent's test state stays.
        const uid_t uid = ::getuid();
        const gid_t gid = ::getgid();
        if (::unshare(CLONE_NEWNS) != 0) {
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) ::_exit(kSkip);
            std::ofstream("/proc/self/setgroups") << "deny";
            std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
            std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("none", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
            ::_exit(kSkip);
        const fs::path set = mountPoint / "set.box", other = mountPoint / "other.box";
        const Bytes three = levelBytes(levels({1, 2, 3}));
        std::ofstream(set, std::ios::binary)
            .write(reinterpret_cast<const char*>(three.data()), 3 * 750);
        std::ofstream(other, std::ios::binary).write("x", 1);
        {
            // Fill what is left.
            std::ofstream filler(mountPoint / "filler", std::ios::binary);
            const std::string block(4096, '\0');
            while (filler.write(block.data(), block.size()) && filler.flush()) {
            }
        }
        const std::function<void()> changes[] = {
            [&] { putLevel(set, 1, numbered(9)); }, [&] { putLevel(set, 3, numbered(9)); },
            [&] { appendLevel(set, numbered(9)); }, [&] { exchangeLevels(set, 0, 2); },
            [&] { DeleteRecord(set, 1); },          [&] { copyLevelSet(set, other); },
        };
        int step = 0;
        for (const auto& change : changes) {
            ++step;
            try {
                change();
                ::_exit(step); // it cannot have fitted
            } catch (const FileError&) {
            }
            if (readFile(set) != three || fs::file_size(other) != 1) ::_exit(10 + step);
            for (const auto& e : fs::directory_iterator(mountPoint))
                if (e.path().filename().string()[0] == '.') ::_exit(20 + step);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kSkip) GTEST_SKIP() << "no small file system can be mounted here";
    // 1..6: a change went through; 11..16: the file changed; 21..26: a temporary file stayed.
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// The file changes underneath the window only through a finished rename.
TEST(LevelSetRewrite, KeepsLinksModesAndTornTails) {
    TempDir dir;
    const fs::path real = dir.path / "real.box", link = dir.path / "link.box";
    Bytes tail(100, 0xAB);
    auto withTail = [&](const std::vector<TMazeData>& ls) {
        Bytes b = levelBytes(ls);
        b.insert(b.end(), tail.begin(), tail.end());
        return b;
    };
    struct Case {
        const char* name;
        std::function<void()> change;
        Bytes expected;
    };
    const Case cases[] = {
        // An exchange touches only the two levels; the rest stays byte for byte.
        {"exchange", [&] { exchangeLevels(link, 0, 2); }, withTail(levels({3, 2, 1}))},
        // Removing and appending work on whole levels, as the game counts them.
        {"delete", [&] { DeleteRecord(link, 2); }, levelBytes(levels({1, 3}))},
        {"append", [&] { appendLevel(link, numbered(9)); }, levelBytes(levels({1, 2, 3, 9}))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(link);
        std::ofstream(real, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(withTail(levels({1, 2, 3})).data()),
                   static_cast<std::streamsize>(3 * 750 + tail.size()));
        ::chmod(real.c_str(), 0640);
        fs::create_symlink(real, link);
        c.change();
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(readFile(real), c.expected);
        struct stat st {};
        ::stat(real.c_str(), &st);
        EXPECT_EQ(st.st_mode & 0777, 0640u);
    }
    EXPECT_THROW(exchangeLevels(real, 0, 4), FileError);
    EXPECT_THROW(DeleteRecord(real, 0), FileError);
    EXPECT_NO_THROW(DeleteRecord(dir.path / "missing.box", 1));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator{}), 2);
}

} // namespace
} // namespace sokoban::testing
