#include "dialog_test_support.h"
#include "ui/dialogs/select.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace sokoban::testing {
namespace {

namespace fs = std::filesystem;

class SelectTest : public MainFormFixture {
  protected:
    std::unique_ptr<TFormSelect> win;
    fs::path other = dir.path / "more";

    void SetUp() override {
        start();
        fs::create_directories(other);
        win = std::make_unique<TFormSelect>(*form, &dialogs);
    }
    void TearDown() override {
        win.reset();
        MainFormFixture::TearDown();
    }
    std::string set(int n) { return (other / ("set" + std::to_string(n) + ".box")).string(); }
    std::vector<std::string> listed() { return readGameList(dir.path / "game.lst"); }
    std::vector<std::string> labels() {
        std::vector<std::string> out;
        for (int i = 0; i < win->listBox()->count(); ++i)
            out.push_back(win->listBox()->item(i)->text().toStdString());
        return out;
    }
    void press(const char* name) { QTest::mouseClick(win->button(name), Qt::LeftButton); }
    void add(const std::string& path) {
        dialogs.fileAnswers.push_back(path);
        press("ButtonAdd");
    }
};

TEST_F(SelectTest, WithoutAListShowingMakesAnEmptyOneAndSelectDoesNothing) {
    win->showDialog();
    EXPECT_TRUE(fs::exists(dir.path / "game.lst"));
    EXPECT_EQ(fs::file_size(dir.path / "game.lst"), 0u);
    EXPECT_EQ(win->listBox()->count(), 0);
    press("ButtonSelect");
    EXPECT_TRUE(win->isVisible());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(win->windowTitle().toStdString(), "选择游戏");
}

TEST_F(SelectTest, AddsFilesButNotTheBuiltInSets) {
    win->showDialog();
    add(appFile("easy.box"));
    EXPECT_EQ(dialogs.takeTexts(),
              std::vector<std::string>{"您选择的是默认游戏，不用添加到列表！"});
    dialogs.fileAnswers.push_back(std::nullopt);
    press("ButtonAdd");
    EXPECT_TRUE(listed().empty());

    const std::string sameFileOtherSpelling = (dir.path / "." / "easy.box").string();
    add(set(1));
    add(sameFileOtherSpelling);
    add(set(1)); // a second entry for the same file
    EXPECT_EQ(listed(), (std::vector<std::string>{set(1), sameFileOtherSpelling, set(1)}));
    EXPECT_EQ(labels(), (std::vector<std::string>{"游戏1", "游戏2", "游戏3"}));
    EXPECT_EQ(win->listBox()->currentRow(), 2);
    EXPECT_EQ(dialogs.fileFilters.back(), "游戏数据文件(*.box)|*.box");
    screenshot(*win);
}

TEST_F(SelectTest, ClickingAnEntryShowsItsPath) {
    writeGameList(dir.path / "game.lst", {set(1), set(2)});
    win->showDialog();
    EXPECT_EQ(win->listBox()->currentRow(), 0);
    EXPECT_TRUE(win->edit()->text().isEmpty());
    auto* list = win->listBox();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(win->edit()->text().toStdString(), "选择游戏：" + set(2));
}

TEST_F(SelectTest, SelectSwitchesTheGameAndRemembersTheLine) {
    for (int n = 1; n <= 3; ++n)
        writeSet(set(n));
    writeGameList(dir.path / "game.lst", {set(1), (other / "gone.box").string(), set(3)});
    win->showDialog();

    win->listBox()->setCurrentRow(1);
    press("ButtonSelect");
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{"游戏文件不存在，请从列表中删除！"});
    EXPECT_TRUE(win->isVisible());

    win->listBox()->setCurrentRow(2);
    press("ButtonSelect");
    EXPECT_FALSE(win->isVisible());
    EXPECT_EQ(model().gameFile(), set(3));
    EXPECT_EQ(model().settings().levelSet, 8);
    EXPECT_EQ(model().levelCount(), 3);
    EXPECT_FALSE(form->action("mselectgame1")->isChecked());
    EXPECT_TRUE(fs::exists(other / "set3.sav"));

    // The set already in play: nothing happens and the window stays.
    win->showDialog();
    win->listBox()->setCurrentRow(2);
    press("ButtonSelect");
    EXPECT_TRUE(win->isVisible());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SelectTest, AFileTheGameRefusesKeepsTheWindowAndTheChoice) {
    std::ofstream(set(1)) << "not a level set";
    writeGameList(dir.path / "game.lst", {set(1)});
    win->showDialog();
    press("ButtonSelect");
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>{"游戏文件格式错误！"});
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(model().gameFile(), appFile("game.box"));
    EXPECT_EQ(model().settings().levelSet, 1);
}

TEST_F(SelectTest, DeletingKeepsTheRememberedChoiceOnItsLevelSet) {
    const struct {
        int remembered; // levelSet before
        int deletedRow; // -1: nothing selected
        int expected;   // levelSet after
    } cases[] = {
        {8, 0, 7},  // an earlier line goes: the choice follows its set
        {8, 2, 1},  // its own line goes: back to the first built-in set
        {8, 3, 8},  // a later line goes
        {2, 0, 2},  // a built-in set is remembered
        {8, -1, 8}, // nothing selected: the file is written back unchanged
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deletedRow);
        const std::vector<std::string> lines{set(1), set(2), set(3), set(4)};
        writeGameList(dir.path / "game.lst", lines);
        model().settings().levelSet = static_cast<std::uint8_t>(c.remembered);
        win->showDialog();
        win->listBox()->setCurrentRow(c.deletedRow);
        press("ButtonDelete");
        std::vector<std::string> expected = lines;
        if (c.deletedRow >= 0) expected.erase(expected.begin() + c.deletedRow);
        EXPECT_EQ(listed(), expected);
        EXPECT_EQ(win->listBox()->count(), static_cast<int>(expected.size()));
        EXPECT_EQ(win->listBox()->currentRow(), static_cast<int>(expected.size()) - 1);
        EXPECT_EQ(model().settings().levelSet, c.expected);
        win->hide();
    }
    // Emptying the list leaves nothing selected.
    writeGameList(dir.path / "game.lst", {set(1)});
    win->showDialog();
    press("ButtonDelete");
    EXPECT_EQ(win->listBox()->count(), 0);
    EXPECT_EQ(fs::file_size(dir.path / "game.lst"), 0u);
}

TEST_F(SelectTest, ALineTooFarDownIsPlayedButNotRemembered) {
    std::vector<std::string> lines;
    for (int n = 1; n <= 251; ++n)
        lines.push_back(set(n));
    writeSet(set(251));
    writeGameList(dir.path / "game.lst", lines);
    win->showDialog();
    win->listBox()->setCurrentRow(250);
    press("ButtonSelect");
    EXPECT_EQ(model().gameFile(), set(251));
    EXPECT_EQ(model().settings().levelSet, 1);
}

} // namespace
} // namespace sokoban::testing
