// The real dialogs on the offscreen platform: each message appears centred on
// the window that caused it and above the tool windows that stay on top.
#include "../game/test_support.h"
#include "ui/designer/change.h"
#include "ui/designer/design.h"
#include "ui/designer/item.h"
#include "ui/main/main_form.h"
#include "ui/platform/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

struct Seen {
    bool shown = false;
    QString text;
    QWidget* owner = nullptr;
    bool onTop = false;
    QPoint centre;
};

// Runs `cause`, which should show one message, and notes where it appeared.
Seen whenShown(const std::function<void()>& cause) {
    Seen seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        seen.shown = true;
        seen.text = box->text();
        seen.owner = box->parentWidget() ? box->parentWidget()->window() : nullptr;
        seen.onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.centre = box->frameGeometry().center();
        if (const char* shot = std::getenv("SOKOBAN_SCREENSHOT")) {
            static int n = 0;
            box->grab().save(QString(shot) + QString("/message_%1.png").arg(++n));
        }
        box->done(QMessageBox::Ok);
    });
    poll.start();
    cause();
    poll.stop();
    return seen;
}

TEST(MessageOwner, MessagesAppearOverTheWindowThatCausedThem) {
    TempDir dir;
    writeLevelSet(dir.path / "game.box", {makeLevel({"#####", "#@$.#", "#####"}, 9, 14)});
    QtDialogs mainDialogs;
    MainFormServices services;
    services.dialogs = &mainDialogs;
    TMainForm main(dir.path, QStringList{"sokoban"}, services);
    mainDialogs.setParent(&main);
    main.FormCreate();
    main.setGeometry(20, 40, 500, 380);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

    // The designer reports through dialogs of its own, as the program wires them.
    QtDialogs designDialogs;
    TFormDesign design(main, designDialogs);
    designDialogs.setParent(&design);
    TFormItem item;
    design.setPalette(&item);
    TformChange manager(main.painter());

    auto near = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 40; };

    // The main window's error box while the level manager stays on top of it.
    manager.showManager();
    Seen s = whenShown([&] { mainDialogs.fileError("/nowhere/x.box", "没有权限"); });
    ASSERT_TRUE(s.shown);
    EXPECT_EQ(s.owner, &main);
    EXPECT_TRUE(s.onTop);
    EXPECT_TRUE(near(s.centre, main.frameGeometry().center()));
    manager.hide();

    // Without a window on top, nothing needs to stay on top.
    s = whenShown([&] { mainDialogs.information("x"); });
    EXPECT_FALSE(s.onTop);

    // The designer's own messages: centred on the designer, above its palette.
    design.showDesign();
    design.setGeometry(300, 200, 700, 500);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&design));
    design.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&design));
    s = whenShown([&] { design.button("btRecordSave")->click(); }); // an empty grid
    ASSERT_TRUE(s.shown);
    EXPECT_EQ(s.text.toStdString(), "这个样子可没法玩，有点不对吧？");
    EXPECT_EQ(s.owner, &design);
    EXPECT_TRUE(s.onTop);
    EXPECT_TRUE(near(s.centre, design.frameGeometry().center()));

    // The question about unsaved changes, with its three answers.
    design.button("btRecordNew")->click();
    QTest::mouseClick(design.surface(), Qt::LeftButton, {}, QPoint(5, 5));
    s = whenShown([&] { design.button("btRecordNext")->click(); });
    EXPECT_FALSE(s.shown); // no level set open: nothing to move to
    s = whenShown([&] { design.close(); });
    ASSERT_TRUE(s.shown);
    EXPECT_EQ(s.text.toStdString(), "关卡已修改，是否保存？");
    EXPECT_EQ(s.owner, &design);
    EXPECT_TRUE(design.isVisible()); // the box was closed: Cancel, the designer stays

    // A message of the hidden main window (the XSB reader's, during an import
    // into the designer) appears over the window in use.
    ASSERT_FALSE(main.isVisible());
    design.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&design));
    s = whenShown([&] { design.LoadXSB((dir.path / "missing.xsb").string()); });
    ASSERT_TRUE(s.shown);
    EXPECT_EQ(s.text.toStdString(), "读取的文件不存在！");
    EXPECT_EQ(s.owner, &design);
    EXPECT_TRUE(near(s.centre, design.frameGeometry().center()));
}

} // namespace
} // namespace sokoban::testing
