#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "storage/xsb.h"
#include "ui/designer/design.h"
#include "ui/designer/item.h"
#include "ui/designer/xsbviewer.h"
#include "ui/main/main_form.h"

#include <QAction>
#include <QComboBox>
#include <QFileSystemModel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <fstream>
#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

const char* const kSmallXsb = "Title\r\n#####\r\n#@$.#\r\n#####\r\n";
const char* const kRoomXsb = "#######\n#.$ @ #\n#######\n";

Bytes levelBytes(const std::vector<TMazeData>& levels) {
    Bytes all;
    for (const auto& l : levels) {
        const Bytes b = l.encode();
        all.insert(all.end(), b.begin(), b.end());
    }
    return all;
}

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class ViewerTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TFormDesign> design;
    std::unique_ptr<TFormItem> item;
    std::unique_ptr<TFormXSBViewer> viewer;

    void SetUp() override {
        writeLevelSet(dir.path / "game.box", {makeLevel({"#####", "#@$.#", "#####"}, 0, 0)});
        fs::create_directories(dir.path / "levels");
        writeText(dir.path / "levels" / "small.xsb", kSmallXsb);
        writeText(dir.path / "levels" / "ROOM.XSB", kRoomXsb);
        writeText(dir.path / "levels" / "notes.txt", "just words\n");
        std::string huge;
        for (int r = 0; r < 23; ++r)
            huge += "###\n";
        writeText(dir.path / "levels" / "huge.xsb", huge);
        fs::create_directories(dir.path / "levels" / "more");

        MainFormServices services;
        services.dialogs = &dialogs;
        main = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        main->FormCreate();
        main->show();
        design = std::make_unique<TFormDesign>(*main, dialogs);
        item = std::make_unique<TFormItem>();
        design->setPalette(item.get());
        viewer = std::make_unique<TFormXSBViewer>(*main, *design, &dialogs);
        viewer->setFolder(QString::fromStdString((dir.path / "levels").string()));
        dialogs.takeTexts();
    }
    void TearDown() override {
        if (const char* shot = std::getenv("SOKOBAN_SCREENSHOT")) {
            const std::string name =
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
            viewer->show();
            QTest::qWait(300); // the folder tree fills in the background

            viewer->grab().save(QString(shot) + "/xsbviewer_" + QString::fromStdString(name) +
                                ".png");
        }
        viewer.reset();
        item.reset();
        design.reset();
        main.reset();
    }

    Texts files() {
        Texts out;
        for (int k = 0; k < viewer->fileList()->count(); ++k)
            out.push_back(viewer->fileList()->item(k)->text().toStdString());
        return out;
    }
    void choose(const std::string& name) {
        QListWidget* list = viewer->fileList();
        const auto found = list->findItems(QString::fromStdString(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(found[0]).center());
    }
    void filter(int index) {
        viewer->filterBox()->setCurrentIndex(index);
        emit viewer->filterBox()->activated(index);
    }
    std::string levelsPath(const std::string& name) {
        return (dir.path / "levels" / name).string();
    }
};

TEST_F(ViewerTest, ListsXsbFilesOrEverythingByTheFilter) {
    EXPECT_EQ(viewer->windowTitle().toStdString(), "XSB文件可视化浏览器");
    EXPECT_EQ(viewer->button("Button1")->text().toStdString(), "读取");
    EXPECT_EQ(viewer->button("Button2")->text().toStdString(), "关闭");
    ASSERT_EQ(viewer->filterBox()->count(), 3);
    EXPECT_EQ(viewer->filterBox()->itemText(0).toStdString(), "XSB仓库源文件(*.xsb)");
    EXPECT_EQ(viewer->filterBox()->itemText(1).toStdString(),
              "XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)");
    EXPECT_EQ(viewer->filterBox()->itemText(2).toStdString(), "所有文件 (*.*)");

    // The type matches whatever the letter case; folders are never files.
    EXPECT_EQ(files(), (Texts{"huge.xsb", "ROOM.XSB", "small.xsb"}));
    filter(1); // collections may be text files
    EXPECT_EQ(files(), (Texts{"huge.xsb", "notes.txt", "ROOM.XSB", "small.xsb"}));
    filter(2);
    EXPECT_EQ(files(), (Texts{"huge.xsb", "notes.txt", "ROOM.XSB", "small.xsb"}));
    filter(0);
    viewer->setFolder(QString::fromStdString(dir.path.string()));
    EXPECT_EQ(files(), Texts{});
    EXPECT_EQ(viewer->xsbFileName(), "");
}

// The tree must not move under the pointer: the folder pressed is the folder
// highlighted and listed, also right after the viewer was shown, while the
// tree still brings the chosen folder into view.
TEST_F(ViewerTest, TheFolderClickedIsTheFolderListed) {
    const fs::path many = dir.path / "many";
    auto name = [](int k) { return "d" + std::string(k < 10 ? "0" : "") + std::to_string(k); };
    for (int k = 0; k < 60; ++k) {
        fs::create_directories(many / name(k));
        writeText(many / name(k) / ("in" + std::to_string(k) + ".xsb"), kSmallXsb);
    }
    QTreeView* tree = viewer->folderTree();
    auto indexOf = [&](const fs::path& p) {
        const auto* model = static_cast<const QFileSystemModel*>(tree->model());
        return model->index(QString::fromStdString(p.string()));
    };
    // The folders at the top and at the bottom of the view, and one between.
    for (int pick : {0, 1, 2}) {
        SCOPED_TRACE(pick);
        viewer->hide();
        viewer->setFolder(QString::fromStdString((many / "d30").string()));
        viewer->show();
        (void)QTest::qWaitForWindowExposed(viewer.get());
        // The folders in view but d30; wait until they are all read, which
        // a busy machine does late.
        const auto* folders = static_cast<const QFileSystemModel*>(tree->model());
        const auto foldersInView = [&] {
            std::vector<int> inView;
            for (int k = 0; k < 60; ++k) {
                const QRect r = tree->visualRect(indexOf(many / name(k)));
                if (tree->viewport()->rect().contains(r) && k != 30) inView.push_back(k);
            }
            return inView;
        };
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return folders->rowCount(indexOf(many)) == 60 && foldersInView().size() >= 3; },
            10000));
        const std::vector<int> inView = foldersInView();
        const int target = pick == 0   ? inView.front()
                           : pick == 1 ? inView.back()
                                       : inView[inView.size() / 3];
        const fs::path wanted = many / name(target);
        const QModelIndex idx = indexOf(wanted);
        const QPoint at = tree->visualRect(idx).center();
        QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseMove(tree->viewport(), at + QPoint(0, 1));
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, at + QPoint(0, 1));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return viewer->folder().toStdString() == wanted.string(); }, 10000));
        EXPECT_EQ(tree->currentIndex(), idx);
        const QModelIndexList chosen = tree->selectionModel()->selectedRows();
        ASSERT_EQ(chosen.size(), 1);
        EXPECT_EQ(chosen[0], idx);
        EXPECT_EQ(files(), Texts{"in" + std::to_string(target) + ".xsb"});
    }
}

TEST_F(ViewerTest, AClickPreviewsTheFileAndARefusedFileKeepsTheLastLevel) {
    struct Case {
        const char* file;
        int filterIndex;
        Texts messages;
        TMazeData shown;
    };
    const TMazeData small = parseXsb(kSmallXsb).maze, room = parseXsb(kRoomXsb).maze;
    const Case cases[] = {
        {"small.xsb", 0, {}, small},
        {"ROOM.XSB", 0, {}, room},
        {"huge.xsb", 0, {"仓库数据太大或者数据不正确！"}, room},
        // Text without level rows is refused like any file that gives no level.
        {"notes.txt", 1, {"游戏文件中没有关卡数据，新建一关！"}, room},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        filter(c.filterIndex);
        choose(c.file);
        EXPECT_EQ(viewer->xsbFileName(), levelsPath(c.file));
        EXPECT_EQ(dialogs.takeTexts(), c.messages);
        EXPECT_EQ(viewer->preview(), c.shown);
    }
    // One reading per click, also for a second click on the same file.
    filter(0);
    for (int k = 0; k < 2; ++k) {
        choose("huge.xsb");
        EXPECT_EQ(dialogs.takeTexts(), Texts{"仓库数据太大或者数据不正确！"});
    }

    // The picture: tiles shrunk to ten pixels, black outside.
    filter(0);
    choose("ROOM.XSB");
    const QImage& img = viewer->previewImage();
    auto cell = [&](int i) { return img.copy(i % kCols * 10, i / kCols * 10, 10, 10); };
    auto tile = [&](int code) {
        QImage t(10, 10, QImage::Format_RGB32);
        QPainter(&t).drawImage(t.rect(), main->painter().tiles[code]);
        return t;
    };
    for (int i : {0, static_cast<int>(room.man) - 1, static_cast<int>(room.man) - 3}) {
        const int code = room.cells[static_cast<std::size_t>(i)];
        if (code == kOutside)
            EXPECT_EQ(img.pixel(i % kCols * 10 + 5, i / kCols * 10 + 5), qRgb(0, 0, 0));
        else
            EXPECT_EQ(cell(i), tile(code)) << i;
    }
    EXPECT_NE(cell(room.man), tile(kFloor));
    // A preview is not play: the main window's XSB file stays as it was.
    EXPECT_EQ(main->model().xsbFile(), "");
}

TEST_F(ViewerTest, ReadWithoutASelectionDoesNothing) {
    viewer->showFromMain();
    viewer->button("Button1")->click();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(main->model().xsbMode());
    viewer->button("Button2")->click();
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(ViewerTest, ReadPlaysTheFileInTheMainWindow) {
    viewer->showFromMain();
    choose("small.xsb");
    viewer->button("Button1")->click();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(main->model().xsbMode());
    EXPECT_EQ(main->model().xsbFile(), levelsPath("small.xsb"));
    EXPECT_EQ(main->model().manPos(), 35);
    EXPECT_EQ(main->windowTitle().toStdString(), "推箱子      " + levelsPath("small.xsb"));
}

TEST_F(ViewerTest, ReadFromTheDesignerLoadsTheGridOrStoresANewLevel) {
    const TMazeData small = parseXsb(kSmallXsb).maze, room = parseXsb(kRoomXsb).maze;
    writeLevelSet(dir.path / "set.box", {makeLevel({"###", "#@#", "###"}, 1, 1)});
    design->showDesign();
    dialogs.fileAnswers.push_back((dir.path / "set.box").string());
    design->btFileOpenClick();
    dialogs.takeTexts();

    const std::string kAsk = "关卡已修改，是否保存？";
    struct Case {
        const char* name;
        const char* file;
        bool unlocked;
        std::optional<Answer> answer; // to the question about the grid
        Texts messages;
        TMazeData grid;
        std::uintmax_t fileSize;
        bool closes;
    };
    const Case cases[] = {
        {"locked: the grid only", "small.xsb", false, {}, {}, small, 750, true},
        // The grid holds the import now, not stored: the user may keep it.
        {"kept", "ROOM.XSB", false, Answer::Cancel, {kAsk}, small, 750, false},
        {"unlocked: a new level",
         "small.xsb",
         true,
         Answer::No,
         {kAsk, "将设计保存到了第2关！"},
         small,
         1500,
         true},
        {"unlocked, another", "ROOM.XSB", true, {}, {"将设计保存到了第3关！"}, room, 2250, true},
        // A refused file stores nothing; the grid stays the new level begun for it.
        {"unlocked, refused",
         "huge.xsb",
         true,
         {},
         {"仓库数据太大或者数据不正确！"},
         TMazeData{},
         2250,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.unlocked && !design->exchangeEnabled())
            QTest::keyClick(design.get(), Qt::Key_F12, Qt::ControlModifier);
        if (c.answer) dialogs.askAnswers.push_back(*c.answer);
        dialogs.takeTexts();
        viewer->showFromMain();
        viewer->showFromDesign(); // the later opening decides
        choose(c.file);
        dialogs.takeTexts(); // the preview's own messages
        viewer->button("Button1")->click();
        EXPECT_EQ(viewer->isVisible(), !c.closes);
        EXPECT_EQ(design->designMaze(), c.grid);
        EXPECT_EQ(dialogs.takeTexts(), c.messages);
        EXPECT_EQ(fs::file_size(dir.path / "set.box"), c.fileSize);
        EXPECT_FALSE(main->model().xsbMode());
        EXPECT_TRUE(dialogs.askAnswers.empty());
    }
    const Bytes all = readFile(dir.path / "set.box");
    EXPECT_EQ(Bytes(all.begin() + 750, all.end()), levelBytes({small, room}));
}

} // namespace
} // namespace sokoban::testing
