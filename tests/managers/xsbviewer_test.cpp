#include "../game/test_support.h"
#include "game/main_form.h"
#include "levels/xsb.h"
#include "tools/design.h"
#include "tools/item.h"
#include "tools/xsbviewer.h"

#include <QAction>
#include <QComboBox>
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

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class ViewerTest : public ::testing::Test {
  protected:
    TempDir dir;
    ScriptedDialogs dialogs;
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
    ASSERT_EQ(viewer->filterBox()->count(), 2);
    EXPECT_EQ(viewer->filterBox()->itemText(0).toStdString(), "XSB仓库源文件(*.xsb)");
    EXPECT_EQ(viewer->filterBox()->itemText(1).toStdString(), "所有文件 (*.*)");

    // The type matches whatever the letter case; folders are never files.
    EXPECT_EQ(files(), (Texts{"huge.xsb", "ROOM.XSB", "small.xsb"}));
    filter(1);
    EXPECT_EQ(files(), (Texts{"huge.xsb", "notes.txt", "ROOM.XSB", "small.xsb"}));
    filter(0);
    viewer->setFolder(QString::fromStdString(dir.path.string()));
    EXPECT_EQ(files(), Texts{});
    EXPECT_EQ(viewer->xsbFileName(), "");
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
        // Text without level rows is an empty level, the worker in the middle.
        {"notes.txt", 1, {}, parseXsb("just words\n").maze},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        filter(c.filterIndex);
        choose(c.file);
        EXPECT_EQ(viewer->xsbFileName(), levelsPath(c.file));
        EXPECT_EQ(dialogs.takeTexts(), c.messages);
        EXPECT_EQ(viewer->preview(), c.shown);
    }
    EXPECT_EQ(viewer->preview().man, 11 * kCols + 17);
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
    EXPECT_EQ(main->model().xsbFile, "");
}

TEST_F(ViewerTest, ReadWithoutASelectionDoesNothing) {
    viewer->showFromMain();
    viewer->button("Button1")->click();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(main->model().xsbMode);
    viewer->button("Button2")->click();
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(ViewerTest, ReadPlaysTheFileInTheMainWindow) {
    viewer->showFromMain();
    choose("small.xsb");
    viewer->button("Button1")->click();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(main->model().xsbMode);
    EXPECT_EQ(main->model().xsbFile, levelsPath("small.xsb"));
    EXPECT_EQ(main->model().manPos, 35);
    EXPECT_EQ(main->windowTitle().toStdString(), "推箱子      " + levelsPath("small.xsb"));
}

TEST_F(ViewerTest, ReadFromTheDesignerLoadsTheGridOrStoresANewLevel) {
    const TMazeData small = parseXsb(kSmallXsb).maze;
    writeLevelSet(dir.path / "set.box", {makeLevel({"###", "#@#", "###"}, 1, 1)});
    design->showDesign();
    dialogs.fileAnswers.push_back((dir.path / "set.box").string());
    design->btFileOpenClick();
    dialogs.takeTexts();

    struct Case {
        const char* name;
        bool unlocked;
        Texts messages;
        std::uintmax_t fileSize;
    };
    const Case cases[] = {
        {"locked: the grid only", false, {}, 750},
        {"unlocked: a new level", true, {"将设计保存到了第2关！"}, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.unlocked) QTest::keyClick(design.get(), Qt::Key_F12, Qt::ControlModifier);
        dialogs.takeTexts();
        viewer->showFromMain();
        viewer->showFromDesign(); // the later opening decides
        choose("small.xsb");
        viewer->button("Button1")->click();
        EXPECT_FALSE(viewer->isVisible());
        EXPECT_EQ(design->designMaze(), small);
        EXPECT_EQ(dialogs.takeTexts(), c.messages);
        EXPECT_EQ(fs::file_size(dir.path / "set.box"), c.fileSize);
        EXPECT_FALSE(main->model().xsbMode);
    }
    const Bytes all = readFile(dir.path / "set.box");
    EXPECT_EQ(Bytes(all.begin() + 750, all.end()), small.encode());
}

} // namespace
} // namespace sokoban::testing
