// The main window with collections of levels in text: opened from the
// command line, played by keys, found again with the progress after a
// restart; clipboard, export, answers as letters and the level chooser.
#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "session/level_text_play.h"
#include "storage/level_stats.h"
#include "ui/dialogs/infor.h"
#include "ui/dialogs/level_chooser.h"
#include "ui/main/level_text_menu.h"
#include "ui/main/main_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace sokoban::testing {
namespace {

namespace fs = std::filesystem;

// Level n: a corridor of k cells from the worker to the box, m rows of
// floor below; level 1 is solved by two steps right.
std::string corridor(int n) {
    const int k = (n - 1) % 25 + 1, m = (n - 1) / 25 % 8;
    const std::string wall(std::size_t(k + 5), '#');
    std::string s = wall + "\r\n#@" + std::string(std::size_t(k), '-') + "$.#\r\n";
    for (int r = 0; r < m; ++r)
        s += "#" + std::string(std::size_t(k + 3), ' ') + "#\r\n";
    return s + wall + "\r\n";
}

std::string collection(int count) {
    std::string s = "; made for the window tests\r\n\r\n";
    for (int n = 1; n <= count; ++n)
        s += corridor(n) + "Title: Corridor " + std::to_string(n) + "\r\nAuthor: Team\r\n\r\n";
    return s;
}

class LevelTextWindowTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> form;
    fs::path file;
    std::string oldXdg;

    void SetUp() override {
        if (const char* x = std::getenv("XDG_DATA_HOME")) oldXdg = x;
        setenv("XDG_DATA_HOME", (dir.path / "xdg").c_str(), 1);
        fs::create_directories(dir.path / "app");
        writeLevelSet(dir.path / "app" / "game.box", {makeLevel({"#####", "#@$.#", "#####"})});
        file = dir.path / "corridors.sok";
        std::ofstream(file, std::ios::binary) << collection(50);
    }
    void TearDown() override {
        form.reset();
        if (oldXdg.empty())
            unsetenv("XDG_DATA_HOME");
        else
            setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    }
    template <class Arguments> void start(Arguments args) {
        form.reset();
        MainFormServices services;
        services.dialogs = &dialogs;
        form = std::make_unique<TMainForm>(dir.path / "app", std::move(args), services);
        form->FormCreate();
        // Time of play stands still: statistics a test writes are not added
        // to by however long a slow machine takes between two steps.
        form->model().setClock([] { return std::int64_t{0}; });
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowExposed(form.get());
        form->boardImage()->setFocus();
    }
    GameModel& model() { return form->model(); }
    fs::path levelsDir() const { return dir.path / "xdg" / "sokoban" / "levels"; }
    void trigger(const char* name) {
        QAction* a = levelTextAction(*form, name);
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }
};

TEST_F(LevelTextWindowTest, CollectionFromTheCommandLineKeepsItsProgressAcrossRuns) {
    const QStringList args = {"sokoban", QString::fromStdString(file.string())};
    start(args);
    const std::string box = (levelsDir() / "corridors.box").string();
    EXPECT_EQ(model().gameFile(), box);
    EXPECT_FALSE(model().xsbMode());
    // The caption names the collection, not the converted file.
    EXPECT_EQ(form->windowTitle().toStdString(), "推箱子      corridors  第：1 关");
    EXPECT_EQ(form->statusPanel(0)->text().toStdString(), "当前关卡号：1 / 50");
    EXPECT_EQ(form->statusPanel(3)->text().toStdString(), "  Corridor 1  作者：Team");
    std::vector<std::string> info;
    inforLines(model(), info);
    EXPECT_NE(std::find(info.begin(), info.end(), "关卡名称：     Corridor 1；"), info.end());

    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    EXPECT_EQ(model().curLevel(), 2);
    EXPECT_EQ(form->statusPanel(3)->text().toStdString(), "  Corridor 2  作者：Team");

    // Back again on the first level not solved; every level is open.
    start(args);
    EXPECT_EQ(model().gameFile(), box);
    EXPECT_EQ(model().curLevel(), 2);
    EXPECT_EQ(model().maxLevel(), 50);
    EXPECT_EQ(form->windowTitle().toStdString(), "推箱子      corridors  第：2 关");
    const auto best = RecordFile(companionBase(box) + ".bst", TBestData::kSize).get<TBestData>(0);
    EXPECT_EQ(best, (TBestData{2, 1}));
    EXPECT_EQ(std::count_if(fs::directory_iterator(levelsDir()), fs::directory_iterator(),
                            [](const auto& e) { return e.path().extension() == ".box"; }),
              1);
}

TEST_F(LevelTextWindowTest, OpenDialogClipboardExportAndAnswers) {
    start(QStringList{"sokoban"});
    // 读取其它游戏 offers collections too.
    dialogs.fileAnswers.push_back(file.string());
    form->action("N24")->trigger();
    EXPECT_EQ(dialogs.fileFilters.back(),
              "游戏数据文件(*.box)|*.box|XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt");
    EXPECT_EQ(model().levelCount(), 50);

    // Ctrl+C copies the board as it stands.
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    trigger("mCopyLevel");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "######\r\n# @$.#\r\n######\r\n");

    // The stored answer as letters, and back.
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    model().playLevel(1);
    trigger("mCopyAnswer");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "rR");
    QGuiApplication::clipboard()->setText("r u");
    trigger("mPasteAnswer");
    EXPECT_EQ(dialogs.shown.back().text, "答案的第 2 步在本关走不通！");
    QGuiApplication::clipboard()->setText("r\nR");
    dialogs.confirmAnswers = {true, true};
    trigger("mPasteAnswer");
    EXPECT_TRUE(model().demoMode());
    model().stopDemo();

    // 导出关卡合集 writes a collection that reads back as the same levels.
    const fs::path exported = dir.path / "out.xsb";
    dialogs.fileAnswers.push_back(exported.string());
    trigger("mSaveCollection");
    EXPECT_EQ(dialogs.shown.back().text, "保存完毕！");
    const Bytes text = readFile(exported);
    const auto levels = parseLevelText(std::string(text.begin(), text.end()));
    ASSERT_EQ(levels.size(), 50u);
    EXPECT_EQ(levels[6].title, "Corridor 7");

    // Ctrl+V plays a pasted level, or opens a pasted collection.
    QGuiApplication::clipboard()->setText("Title: Pasted\n#####\n#@$.#\n#####\n");
    trigger("mPasteLevel");
    EXPECT_TRUE(model().xsbMode());
    EXPECT_EQ(model().xsbFile(), (levelsDir() / "剪贴板.xsb").string());
    EXPECT_EQ(form->statusPanel(3)->text().toStdString(), "  Pasted");
    QGuiApplication::clipboard()->setText(QString::fromStdString(collection(3)));
    trigger("mPasteLevel");
    EXPECT_FALSE(model().xsbMode());
    EXPECT_EQ(model().gameFile(), (levelsDir() / "剪贴板.box").string());
    EXPECT_EQ(model().levelCount(), 3);
    QGuiApplication::clipboard()->setText("no levels here");
    trigger("mPasteLevel");
    EXPECT_EQ(dialogs.shown.back().text, "剪贴板中没有关卡！");
}

TEST_F(LevelTextWindowTest, ChooserDrawsOnlyWhatIsInViewAndPlaysAnyLevelOfACollection) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << collection(1000);
    start(QStringList{"sokoban", QString::fromStdString(file.string())});
    ASSERT_EQ(model().levelCount(), 1000);
    RecordFile sav(companionBase(model().gameFile()) + ".sav", TSaveData::kSize);
    TSaveData progress = sav.get<TSaveData>(0);
    progress.level = 3;
    sav.put(0, progress);
    RecordFile(companionBase(model().gameFile()) + ".bst", TBestData::kSize)
        .put(0, TBestData{9, 4});
    // Opened again a collection is open all through, whatever the progress
    // says, and starts on its first level not solved.
    model().openOtherSet(model().gameFile());
    ASSERT_EQ(model().maxLevel(), 1000);
    EXPECT_EQ(model().curLevel(), 2);
    model().playLevel(1);

    addLevelStats(model().statsFile(), 1, {2, 125});
    LevelChooser chooser(*form);
    ASSERT_NE(levelTextAction(*form, "mLevelList"), nullptr);
    EXPECT_EQ(levelTextAction(*form, "mLevelList")->shortcut(), QKeySequence("Ctrl+T"));
    chooser.showChooser();
    (void)QTest::qWaitForWindowExposed(&chooser);
    const QImage shot = chooser.grab().toImage();
    if (const char* d = std::getenv("SOKOBAN_SCREENSHOT")) shot.save(QString(d) + "/chooser.png");
    EXPECT_EQ(chooser.view()->model()->rowCount(), 1000);
    EXPECT_GT(chooser.levels().picturesDrawn(), 0);
    EXPECT_LT(chooser.levels().picturesDrawn(), 60);
    EXPECT_EQ(chooser.levels().title(7), "Corridor 7");
    EXPECT_EQ(chooser.levels().best(1), (TBestData{9, 4}));
    // A collection's statistics in the tip of a level.
    EXPECT_TRUE(chooser.view()
                    ->model()
                    ->data(chooser.view()->model()->index(0, 0), Qt::ToolTipRole)
                    .toString()
                    .endsWith("尝试 2 次，用时 2 分 5 秒"));
    EXPECT_FALSE(chooser.levels().locked(900));

    EXPECT_TRUE(chooser.playLevel(900));
    EXPECT_EQ(model().curLevel(), 900);
    chooser.showChooser();
    // A double click on level 3 plays it.
    const QModelIndex third = chooser.view()->model()->index(2, 0);
    chooser.view()->scrollTo(third);
    const QRect r = chooser.view()->visualRect(third);
    QTest::mouseClick(chooser.view()->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(chooser.view()->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(model().curLevel(), 3);
    EXPECT_FALSE(chooser.isVisible());

    // 下一个未解关卡 (Ctrl+J) passes over the solved ones.
    QAction* next = levelTextAction(*form, "mNextUnsolved");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->shortcut(), QKeySequence("Ctrl+J"));
    model().playLevel(1000);
    next->trigger();
    EXPECT_EQ(model().curLevel(), 2);
}

// The command line hands file names over as bytes: a name that is not
// valid UTF-8 opens all the same, as a set or as a single level.
TEST_F(LevelTextWindowTest, FileNamesThatAreNotUtf8OpenFromTheCommandLine) {
    const std::string name = "niv\xe9"
                             "au\xff";
    writeLevelSet(dir.path / (name + ".box"), {makeLevel({"######", "#@ $.#", "######"})});
    std::ofstream(dir.path / (name + ".xsb"), std::ios::binary)
        << "#######\r\n#@ $ .#\r\n#######\r\n";
    const std::string box = (dir.path / (name + ".box")).string();
    start(std::vector<std::string>{"sokoban", box});
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(model().gameFile(), box);
    EXPECT_EQ(model().mazeWidth(), 6);
    EXPECT_TRUE(fs::exists(dir.path / (name + ".sav")));

    const std::string xsb = (dir.path / (name + ".xsb")).string();
    start(std::vector<std::string>{"sokoban", xsb});
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(model().xsbMode());
    EXPECT_EQ(model().xsbFile(), xsb);
    EXPECT_EQ(model().mazeWidth(), 7);
}

// A file from the command line that gives no level: its message, then the
// stored level set rather than an empty board. UTF-16 text reads as text.
TEST_F(LevelTextWindowTest, AFileThatGivesNoLevelAtStartLeavesTheStoredSet) {
    const fs::path empty = dir.path / "empty.xsb", words = dir.path / "words.txt",
                   wide = dir.path / "wide.xsb";
    std::ofstream(empty, std::ios::binary).flush();
    std::ofstream(words, std::ios::binary) << "nothing to play here\r\n";
    std::string utf16 = "\xff\xfe";
    for (const char c : std::string("#####\r\n#@$.#\r\n#####\r\n"))
        utf16 += std::string{c, '\0'};
    std::ofstream(wide, std::ios::binary) << utf16;
    for (const fs::path& f : {empty, words}) {
        SCOPED_TRACE(f.string());
        dialogs.shown.clear();
        start(QStringList{"sokoban", QString::fromStdString(f.string())});
        EXPECT_EQ(dialogs.takeTexts(),
                  std::vector<std::string>{"游戏文件中没有关卡数据，新建一关！"});
        EXPECT_FALSE(model().xsbMode());
        EXPECT_EQ(model().gameFile(), (dir.path / "app" / "game.box").string());
        EXPECT_EQ(form->windowTitle().toStdString(), "推箱子      默认关卡  第：1 关");
        EXPECT_EQ(model().mazeWidth(), 5);
    }
    dialogs.shown.clear();
    start(QStringList{"sokoban", QString::fromStdString(wide.string())});
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(model().xsbMode());
    EXPECT_EQ(model().mazeWidth(), 5);
    EXPECT_EQ(model().manPos(), 35);
}

// 读取其它游戏 with a file that gives no level, or only levels that cannot
// be played: a message, and the level in play stays on the board, playable.
TEST_F(LevelTextWindowTest, AFailedOpenLeavesTheLevelInPlay) {
    writeLevelSet(dir.path / "app" / "game.box", {makeLevel({"######", "#@ $.#", "######"})});
    const fs::path empty = dir.path / "empty.xsb", big = dir.path / "big.sok";
    std::ofstream(empty, std::ios::binary).flush();
    std::string tooBig;
    for (int k = 0; k < 2; ++k)
        tooBig += std::string(70, '#') + "\r\n#@$." + std::string(65, ' ') + "#\r\n\r\n";
    std::ofstream(big, std::ios::binary) << tooBig;
    start(QStringList{"sokoban"});
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    const std::string title = form->windowTitle().toStdString();
    const QImage board = form->boardImage()->grab().toImage();
    for (const fs::path& f : {empty, big, dir.path / "missing.xsb"}) {
        SCOPED_TRACE(f.string());
        dialogs.shown.clear();
        dialogs.fileAnswers.push_back(f.string());
        form->action("N24")->trigger();
        ASSERT_EQ(dialogs.shown.size(), 1u);
        if (f == big) {
            EXPECT_EQ(dialogs.shown.front().text,
                      "没有可以导入的关卡，2 关过大未能导入：第 1、2 关");
        }
        EXPECT_FALSE(model().xsbMode());
        EXPECT_EQ(model().moveCount(), 1);
        EXPECT_EQ(model().manPos(), 2 * 1 + kCols);
        EXPECT_EQ(form->windowTitle().toStdString(), title);
        EXPECT_EQ(form->boardImage()->grab().toImage(), board);
    }
    dialogs.shown.clear();
    QTest::keyClick(form->boardImage(), Qt::Key_Right); // the push that solves it
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.front().text, "恭喜你通过第1关！");
}

} // namespace
} // namespace sokoban::testing
