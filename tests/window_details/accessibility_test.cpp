// What a screen reader and the keyboard find in the windows: every button
// and board has a name, and the items of a menu have distinct access keys.
#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "ui/designer/change.h"
#include "ui/designer/design.h"
#include "ui/designer/item.h"
#include "ui/main/main_form.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolButton>
#include <gtest/gtest.h>
#include <map>

namespace sokoban::testing {
namespace {

class WindowDetailsTest : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    std::unique_ptr<TMainForm> main;

    void SetUp() override {
        writeLevelSet(dir.path / "game.box", {makeLevel({"#####", "#@$.#", "#####"}, 9, 14)});
        MainFormServices services;
        services.dialogs = &dialogs;
        main = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        main->FormCreate();
    }
};

std::string accessibleName(QObject* o) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
    return a ? a->text(QAccessible::Name).toStdString() : std::string();
}

TEST_F(WindowDetailsTest, EveryButtonAndBoardHasAName) {
    TFormDesign design(*main, dialogs);
    TFormItem palette;
    design.setPalette(&palette);
    TformChange manager(main->painter(), &dialogs);
    const std::pair<const char*, QWidget*> windows[] = {
        {"main window", main.get()},
        {"designer", &design},
        {"palette", &palette},
        {"level manager", &manager},
    };
    int buttons = 0;
    for (const auto& [window, w] : windows) {
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            if (b->objectName().startsWith("qt_")) continue; // Qt's own parts
            ++buttons;
            EXPECT_FALSE(accessibleName(b).empty())
                << window << " " << b->objectName().toStdString();
        }
    }
    EXPECT_GT(buttons, 30);
    EXPECT_EQ(accessibleName(main->boardImage()), "关卡画面");
    EXPECT_EQ(accessibleName(design.surface()), "设计网格");
    // Icon-only buttons are named by what their tool tips say.
    EXPECT_EQ(accessibleName(palette.button(6)), "搬运工");
    EXPECT_EQ(accessibleName(manager.findChild<QAbstractButton*>("bleft")), "将关卡移到文件1中");
}

// The access key of an item: the letter after "&".
QChar accessKey(const QString& text) {
    static const QRegularExpression key("&([^&])");
    const QRegularExpressionMatch m = key.match(text);
    return m.hasMatch() ? m.captured(1).at(0).toUpper() : QChar();
}

TEST_F(WindowDetailsTest, ItemsOfTheOtherMenuHaveDistinctAccessKeys) {
    QMenu* other = nullptr;
    for (QAction* a : main->menuBar()->actions())
        if (a->text() == "其它(&O)") other = a->menu();
    ASSERT_NE(other, nullptr);
    std::map<QChar, QString> seen;
    for (QAction* a : other->actions()) {
        const QChar k = accessKey(a->text());
        if (k.isNull()) continue;
        const auto [at, fresh] = seen.emplace(k, a->text());
        EXPECT_TRUE(fresh) << a->text().toStdString() << " and " << at->second.toStdString();
    }
    EXPECT_EQ(seen[QChar('V')].toStdString(), "XSB文件浏览器(&V)");
    EXPECT_GE(seen.size(), 6u);
}

} // namespace
} // namespace sokoban::testing
