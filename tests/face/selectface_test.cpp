// The custom face window over a running main window: what showing it selects,
// the demonstration on the main board, the speed and skip keys, apply, OK and
// cancel.
#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "ui/face/selectface.h"
#include "ui/main/main_form.h"
#include "ui/pictures/pictures.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

class FaceFormTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TFormFace> face;

    void SetUp() override {
        writeLevelSet(dir.path / "game.box", {makeLevel({"######", "#@ $.#", "######"}, 5, 6)});
        MainFormServices services;
        services.dialogs = &dialogs;
        main = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        main->FormCreate();
        main->show();
        (void)QTest::qWaitForWindowExposed(main.get());
        face = std::make_unique<TFormFace>(*main);
    }
    void TearDown() override {
        face.reset();
        main.reset();
    }
    TGameVar& settings() { return main->model().settings(); }
    void setCustom(int wall, int floor, int box) {
        settings().customWall = static_cast<std::uint8_t>(wall);
        settings().customFloor = static_cast<std::uint8_t>(floor);
        settings().customBox = static_cast<std::uint8_t>(box);
    }
    TFormFace::Combination checked() const {
        return {face->checkedNumber(0), face->checkedNumber(1), face->checkedNumber(2)};
    }
    // The colour in the middle of a board cell of the main window's picture.
    QRgb cellColour(int cell) {
        const auto& l = main->model().layout();
        return main->painter().image().pixel(
            (cell % kCols + l.originCol) * l.cellSize + l.cellSize / 2,
            (cell / kCols + l.originRow) * l.cellSize + l.cellSize / 2);
    }
    // The same spot of a tile drawn at the board's cell size.
    QRgb tileColour(const QString& name) {
        const int s = main->model().layout().cellSize;
        return picture(name)
            .convertToFormat(QImage::Format_RGB32)
            .scaled(s, s, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .pixel(s / 2, s / 2);
    }
    // The board shows the wall of face w, the target of face f and the box of face b.
    void expectBoardShows(int w, int f, int b, const char* where) {
        const int wall = 0, target = kCols + 4, box = kCols + 3;
        ASSERT_EQ(main->model().cells()[wall], kWall);
        ASSERT_EQ(main->model().cells()[box], kBox);
        EXPECT_EQ(cellColour(wall), tileColour(QString("%1wall").arg(w))) << where;
        EXPECT_EQ(cellColour(target), tileColour(QString("%1target").arg(f))) << where;
        EXPECT_EQ(cellColour(box), tileColour(QString("%1box").arg(b))) << where;
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier, QWidget* to = nullptr) {
        QTest::keyClick(to ? to : face.get(), static_cast<Qt::Key>(k), mods);
    }
};

TEST_F(FaceFormTest, LayoutCaptionsAndPreviews) {
    face->show();
    EXPECT_EQ(face->windowTitle().toStdString(), "自定义界面");
    // Taller than the three groups and the buttons by the row of skins between them.
    EXPECT_EQ(face->size(), QSize(378, 437));
    face->grab().save("/tmp/face_window.png");
    EXPECT_TRUE(face->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(face->isModal());
    const std::pair<const char*, const char*> captions[] = {
        {"Button3", "应  用"}, {"bShowFace", "演示"}, {"Button1", "确  定"}, {"Button2", "取  消"}};
    for (auto [name, text] : captions)
        EXPECT_EQ(face->button(name)->text().toStdString(), text);
    EXPECT_EQ(face->button("bShowFace")->toolTip().toStdString(),
              "自动演示所有界面组合!\n使用+ - 键可以加速或者减速\n使用N键可以间隔跳动");
    EXPECT_FALSE(face->timer1().isActive());
    EXPECT_EQ(face->timer1().interval(), 500);

    // Every preview shows its own tile, under the names the window has always used.
    const std::pair<QString, QString> previews[] = {
        {"imagewall1", "1wall"},       {"imagewall9", "9wall"},    {"Imagewall10", "10wall"},
        {"Imagefloor1", "1cell"},      {"Imagefloor10", "10cell"}, {"Imagefloor21", "1target"},
        {"Imagefloor210", "10target"}, {"Imagebox5", "5box"},      {"Imagebox25", "5box1"},
        {"Imagebox210", "10box1"},
    };
    for (const auto& [name, tile] : previews) {
        auto* label = face->findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name.toStdString();
        EXPECT_EQ(label->size(), QSize(30, 30));
        EXPECT_EQ(label->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  picture(tile).convertToFormat(QImage::Format_RGB32))
            << name.toStdString();
    }
    EXPECT_EQ(face->findChildren<QRadioButton*>().size(), 30);
    auto* rb = face->findChild<QRadioButton*>("rbfloor10");
    ASSERT_NE(rb, nullptr);
    EXPECT_TRUE(rb->text().isEmpty());

    if (const char* shot = std::getenv("SOKOBAN_SCREENSHOT")) {
        face->grab().save(QString(shot) + "/face_form.png");
        face->bShowFaceClick();
        for (int i = 0; i < 345; ++i)
            face->Timer1Timer();
        main->Timer1Timer();
        main->grab().save(QString(shot) + "/face_demo_main.png");
        face->grab().save(QString(shot) + "/face_form_demo.png");
    }
}

TEST_F(FaceFormTest, ShowingSelectsTheStoredCustomNumbers) {
    const struct {
        int wall, floor, box;
        TFormFace::Combination want;
    } cases[] = {
        {4, 7, 9, {4, 7, 9}},
        {10, 1, 10, {10, 1, 10}},
        {0, 12, 3, {0, 0, 3}}, // outside 1..10: nothing checked in that group
    };
    main->ChangeFace(5); // another face in use does not matter
    for (const auto& c : cases) {
        setCustom(c.wall, c.floor, c.box);
        face->show();
        EXPECT_EQ(checked(), c.want);
        face->hide();
    }
}

TEST_F(FaceFormTest, DemonstrationStepsThroughEveryCombinationOnTheMainBoard) {
    setCustom(2, 7, 1);
    face->show();
    face->bShowFaceClick();
    EXPECT_EQ(face->button("bShowFace")->text().toStdString(), "停止");
    EXPECT_TRUE(face->timer1().isActive());

    face->Timer1Timer();
    EXPECT_EQ(checked(), (TFormFace::Combination{1, 1, 1}));
    expectBoardShows(1, 1, 1, "first step");
    for (int i = 0; i < 10; ++i)
        face->Timer1Timer();
    EXPECT_EQ(checked(), (TFormFace::Combination{1, 2, 1}));
    expectBoardShows(1, 2, 1, "eleventh step");
    while (face->demoCount() != 999)
        key(Qt::Key_N);
    face->Timer1Timer();
    EXPECT_EQ(checked(), (TFormFace::Combination{10, 10, 10}));
    expectBoardShows(10, 10, 10, "last combination");
    face->Timer1Timer();
    EXPECT_EQ(checked(), (TFormFace::Combination{1, 1, 1}));

    // N where the next step would show 10, 10, 10: the following step shows 1, 1, 1.
    while (face->demoCount() != 999)
        key(Qt::Key_N);
    key(Qt::Key_N);
    face->Timer1Timer();
    EXPECT_EQ(checked(), (TFormFace::Combination{1, 1, 1}));
    expectBoardShows(1, 1, 1, "after N");

    // The settings are untouched by the demonstration; stopping restores the caption.
    EXPECT_EQ(settings().customWall, 2);
    face->bShowFaceClick();
    EXPECT_FALSE(face->timer1().isActive());
    EXPECT_EQ(face->button("bShowFace")->text().toStdString(), "演示");

    // Every showing starts again at 1, 1, 1.
    for (int i = 0; i < 5; ++i)
        face->Timer1Timer();
    face->hide();
    face->show();
    EXPECT_EQ(face->demoCount(), 0);
}

TEST_F(FaceFormTest, SpeedKeysStayBetween50And2000Milliseconds) {
    face->show();
    QWidget* radio = face->findChild<QRadioButton*>("rbwall3");
    const struct {
        const char* what;
        int key;
        Qt::KeyboardModifiers mods;
        int presses;
        int interval; // afterwards, starting from 500
    } cases[] = {
        {"= once", Qt::Key_Equal, Qt::NoModifier, 1, 490},
        {"= held", Qt::Key_Equal, Qt::NoModifier, 60, 50},
        {"- once", Qt::Key_Minus, Qt::NoModifier, 1, 510},
        {"- held", Qt::Key_Minus, Qt::NoModifier, 200, 2000},
        {"shift =", Qt::Key_Equal, Qt::ShiftModifier, 3, 500},
        {"ctrl -", Qt::Key_Minus, Qt::ControlModifier, 3, 500},
        {"alt =", Qt::Key_Equal, Qt::AltModifier, 3, 500},
        {"keypad -", Qt::Key_Minus, Qt::KeypadModifier, 3, 500},
    };
    for (const auto& c : cases) {
        face->timer1().setInterval(500);
        for (int i = 0; i < c.presses; ++i)
            key(c.key, c.mods, i % 2 ? radio : nullptr);
        EXPECT_EQ(face->timer1().interval(), c.interval) << c.what;
    }
    // The window sees N before its controls, with or without a running demonstration.
    key(Qt::Key_N, Qt::NoModifier, face->button("Button1"));
    key(Qt::Key_N, Qt::NoModifier, radio);
    EXPECT_EQ(face->demoCount(), 2);
    key(Qt::Key_N, Qt::ShiftModifier);
    EXPECT_EQ(face->demoCount(), 2);
    EXPECT_FALSE(face->timer1().isActive());
    // The interval outlives the showing.
    face->timer1().setInterval(320);
    face->hide();
    face->show();
    EXPECT_EQ(face->timer1().interval(), 320);
}

TEST_F(FaceFormTest, ApplyDuringADemonstrationKeepsWhatItLastShowed) {
    settings().faceStyle = 10;
    setCustom(2, 7, 1);
    face->show();
    face->bShowFaceClick();
    while (face->demoCount() != 345)
        key(Qt::Key_N);
    face->Timer1Timer(); // shows 4, 5, 6
    QTest::mouseClick(face->button("Button3"), Qt::LeftButton);
    EXPECT_FALSE(face->timer1().isActive());
    EXPECT_EQ(face->button("bShowFace")->text().toStdString(), "停止");
    EXPECT_EQ(settings().customWall, 4);
    EXPECT_EQ(settings().customFloor, 5);
    EXPECT_EQ(settings().customBox, 6);
    EXPECT_EQ(settings().faceStyle, 10);
    EXPECT_TRUE(main->action("fengge11")->isChecked());
    EXPECT_FALSE(main->action("fengge10")->isChecked());
    expectBoardShows(4, 5, 6, "applied");
    EXPECT_TRUE(face->isVisible());
    // The next click only brings the caption back.
    face->bShowFaceClick();
    EXPECT_EQ(face->button("bShowFace")->text().toStdString(), "演示");
    EXPECT_FALSE(face->timer1().isActive());
}

TEST_F(FaceFormTest, OkAppliesTheChosenButtonsAndCancelKeepsTheSettings) {
    setCustom(2, 7, 1);
    face->show();
    face->findChild<QRadioButton*>("rbwall8")->click();
    face->findChild<QRadioButton*>("rbbox3")->click();
    QTest::mouseClick(face->button("Button1"), Qt::LeftButton);
    EXPECT_FALSE(face->isVisible());
    EXPECT_EQ(settings().customWall, 8);
    EXPECT_EQ(settings().customFloor, 7);
    EXPECT_EQ(settings().customBox, 3);
    expectBoardShows(8, 7, 3, "after OK");

    // Cancel after a demonstration: the board keeps the last combination shown,
    // the settings keep the previous numbers. Escape is cancel as well.
    for (auto close :
         {+[](TFormFace& f) { QTest::mouseClick(f.button("Button2"), Qt::LeftButton); },
          +[](TFormFace& f) { QTest::keyClick(&f, Qt::Key_Escape); }}) {
        face->show();
        face->bShowFaceClick();
        for (int i = 0; i < 12; ++i)
            face->Timer1Timer(); // last shown: 1, 2, 2
        close(*face);
        EXPECT_FALSE(face->isVisible());
        EXPECT_FALSE(face->timer1().isActive());
        EXPECT_EQ(settings().customWall, 8);
        EXPECT_EQ(settings().customBox, 3);
        expectBoardShows(1, 2, 2, "after cancel");
        face->bShowFaceClick(); // back to "演示"
    }
}

} // namespace
} // namespace sokoban::testing
