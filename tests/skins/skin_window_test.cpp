// Skins in the windows: the face menu and the custom face window offer the
// skins found, a chosen skin draws the board and comes back at the next
// start, a skin that cannot be read changes nothing and says why.
#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "ui/face/selectface.h"
#include "ui/main/main_form.h"
#include "ui/skins/skin.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

namespace sokoban::testing {
namespace {

namespace fs = std::filesystem;

class SkinWindowTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> main;
    QByteArray oldDataHome;

    void SetUp() override {
        // The per-user folder of the test, not the player's.
        oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((dir.path / "data").string()));
        writeLevelSet(dir.path / "game.box", {makeLevel({"######", "#@ $.#", "######"}, 5, 6)});
        fs::create_directories(dir.path / "skins");
        for (const char* f : {"qingshi.png", "qingshi.ini"})
            fs::copy_file(fs::path(SHIPPED_SKIN_DIR) / f, dir.path / "skins" / f);
        start();
    }
    void TearDown() override {
        main.reset();
        if (oldDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", oldDataHome);
    }
    void start() {
        main.reset();
        MainFormServices services;
        services.dialogs = &dialogs;
        main = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        main->FormCreate();
        main->show();
        (void)QTest::qWaitForWindowExposed(main.get());
    }
    // The colour in the middle of a board cell of the main window's picture.
    QRgb cellColour(int cell) {
        const auto& l = main->model().layout();
        return main->painter().image().pixel(
            (cell % kCols + l.originCol) * l.cellSize + l.cellSize / 2,
            (cell / kCols + l.originRow) * l.cellSize + l.cellSize / 2);
    }
    // The floor cell between the worker and the box ("#@ $.#" is the level's second row).
    static constexpr int kFloorCell = kCols + 2;
    QRgb skinFloorColour() {
        const SkinLoad load = loadSkin(dir.path / "skins" / "qingshi.png");
        const QImage& t = load.skin->tiles[2];
        return t.pixel(t.width() / 2, t.height() / 2);
    }
    QMenu* faceMenu() { return main->findChild<QMenu*>("PopupMenuFace"); }
    QAction* skinAction(const QString& file) {
        emit faceMenu()->aboutToShow();
        return main->findChild<QAction*>("skin:" + file);
    }
};

TEST_F(SkinWindowTest, TheFaceMenuOffersTheSkinAndTheChoiceComesBackAtTheNextStart) {
    QAction* a = skinAction("qingshi.png");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->text(), "青石");
    // The ten faces and the custom face are still there.
    for (int i = 1; i <= 11; ++i)
        EXPECT_TRUE(main->action(QString("fengge%1").arg(i))) << i;
    const std::uint8_t face = main->model().settings().faceStyle;
    a->trigger();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(main->skinInUse(), "qingshi.png");
    EXPECT_EQ(cellColour(kFloorCell), skinFloorColour());
    EXPECT_TRUE(skinAction("qingshi.png")->isChecked());
    // game.var's face is left as it was: the skin is kept beside it.
    EXPECT_EQ(main->model().settings().faceStyle, face);
    EXPECT_EQ(loadSkinChoice(dir.path), (SkinChoice{"qingshi.png", 0}));

    start();
    EXPECT_EQ(main->skinInUse(), "qingshi.png");
    EXPECT_EQ(cellColour(kFloorCell), skinFloorColour());

    // A face leaves the skin.
    main->action("fengge3")->trigger();
    EXPECT_TRUE(main->skinInUse().isEmpty());
    EXPECT_NE(cellColour(kFloorCell), skinFloorColour());
    EXPECT_EQ(loadSkinChoice(dir.path), SkinChoice{});
}

TEST_F(SkinWindowTest, ASkinThatCannotBeReadChangesNothingAndSaysWhy) {
    main->action("fengge4")->trigger();
    const QRgb before = cellColour(kFloorCell);
    const QImage wallBefore = main->painter().tiles[1];
    // Broken after the menu listed it.
    QAction* a = skinAction("qingshi.png");
    ASSERT_TRUE(a);
    std::ofstream(dir.path / "skins" / "qingshi.ini") << "[Skin]\nFormat=common\nTileSize=7\n";
    a->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
    EXPECT_NE(dialogs.shown[0].text.find("qingshi.ini"), std::string::npos);
    EXPECT_TRUE(main->skinInUse().isEmpty());
    EXPECT_EQ(cellColour(kFloorCell), before);
    EXPECT_EQ(main->painter().tiles[1], wallBefore);
    EXPECT_TRUE(main->action("fengge4")->isChecked());
    EXPECT_FALSE(skinAction("qingshi.png")->isChecked());
    EXPECT_FALSE(fs::exists(skinChoiceFile(dir.path)));
}

TEST_F(SkinWindowTest, AStoredSkinThatIsGoneIsToldOnceAndTheFacesStay) {
    const QRgb stored = cellColour(kFloorCell);
    saveSkinChoice(dir.path, {"gone.png", 0});
    start();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("gone.png"), std::string::npos);
    EXPECT_EQ(cellColour(kFloorCell), stored);
    EXPECT_NE(stored, skinFloorColour());
    start();
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(SkinWindowTest, AFigureChosenOnASkinReplacesItsWorkerAndStays) {
    ASSERT_TRUE(main->ChangeSkin("qingshi.png"));
    const QImage skinWorker = main->painter().manImages[2];
    main->action("boy2")->trigger();
    EXPECT_NE(main->painter().manImages[2], skinWorker);
    EXPECT_EQ(loadSkinChoice(dir.path), (SkinChoice{"qingshi.png", 2}));
    const QImage figure = main->painter().manImages[2];
    start();
    EXPECT_EQ(main->painter().manImages[2], figure);
    EXPECT_EQ(cellColour(kFloorCell), skinFloorColour());
}

TEST_F(SkinWindowTest, TheUsersSkinsFolderIsReadToo) {
    fs::create_directories(dir.path / "data" / "sokoban" / "skins");
    fs::copy_file(dir.path / "skins" / "qingshi.png",
                  dir.path / "data" / "sokoban" / "skins" / "mine.png");
    ASSERT_TRUE(skinAction("mine.png"));
    EXPECT_TRUE(main->ChangeSkin("mine.png"));
}

TEST_F(SkinWindowTest, TheCustomFaceWindowChoosesASkinOrGoesBackToTheCombination) {
    TFormFace face(*main);
    face.show();
    QComboBox* box = face.skinBox();
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->currentIndex(), 0);
    box->setCurrentIndex(1);
    EXPECT_EQ(box->currentText(), "青石");
    face.grab().save("/tmp/skins_face_window.png");
    QTest::mouseClick(face.button("Button3"), Qt::LeftButton);
    EXPECT_EQ(main->skinInUse(), "qingshi.png");
    EXPECT_EQ(cellColour(kFloorCell), skinFloorColour());
    face.hide();
    face.show();
    EXPECT_EQ(box->currentIndex(), 1);
    box->setCurrentIndex(0);
    QTest::mouseClick(face.button("Button1"), Qt::LeftButton);
    EXPECT_TRUE(main->skinInUse().isEmpty());
    EXPECT_TRUE(main->action("fengge11")->isChecked());
    EXPECT_NE(cellColour(kFloorCell), skinFloorColour());
}

} // namespace
} // namespace sokoban::testing
