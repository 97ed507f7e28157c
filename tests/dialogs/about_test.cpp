#include "dialog_test_support.h"
#include "dialogs/about.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace sokoban::testing {
namespace {

class AboutTest : public ::testing::Test {
  protected:
    TempDir dir;
    ScriptedDesktop desktop;
    HelpCommands help{dir.path, desktop};
    TAboutBox box{help};

    std::string look(const char* name) {
        const QLabel* l = box.label(name);
        const QColor c = l->palette().color(QPalette::WindowText);
        return std::string(c == QColor(255, 0, 0)   ? "red"
                           : c == QColor(0, 0, 255) ? "blue"
                                                    : "other") +
               (l->font().underline() ? " underlined" : "");
    }
    void move(QWidget* w) {
        QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    std::string url(const char* section) { return help.url(section); }
};

TEST_F(AboutTest, TheLinkUnderThePointerIsRedAndPlain) {
    box.showBox();
    EXPECT_EQ(look("Label1"), "blue");
    EXPECT_EQ(look("Label2"), "blue");
    const struct {
        QWidget* target;
        const char *web, *mail;
    } steps[] = {
        {box.label("Label1"), "red", "blue underlined"},
        {box.findChild<QWidget*>("Panel1"), "blue underlined", "blue underlined"},
        {box.label("Label2"), "blue underlined", "red"},
        {box.label("ProductName"), "blue underlined", "blue underlined"}, // passes to the panel
        {&box, "blue underlined", "blue underlined"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.target->objectName().toStdString());
        move(s.target);
        EXPECT_EQ(look("Label1"), s.web);
        EXPECT_EQ(look("Label2"), s.mail);
    }
    QTest::mousePress(box.label("Label2"), Qt::LeftButton);
    EXPECT_EQ(look("Label2"), "red");
    screenshot(box);
}

TEST_F(AboutTest, LinksAndHelpMenuOpenTheGamesOwnPage) {
    const std::string page =
        QUrl::fromLocalFile(QString::fromStdString((dir.path / "help.html").string()))
            .toString()
            .toStdString();
    QTest::mouseClick(box.label("Label1"), Qt::LeftButton);
    QTest::mouseClick(box.label("Label2"), Qt::LeftButton);
    help.mHelpContentClick();
    help.mEmailClick();
    help.mMyWebClick();
    EXPECT_EQ(desktop.urls, (std::vector<std::string>{page + "#about", page + "#contact", page,
                                                      page + "#contact", page + "#about"}));
}

TEST_F(AboutTest, ShowsNameVersionAndClosesWithOk) {
    box.showBox();
    EXPECT_EQ(box.windowTitle().toStdString(), "关于");
    EXPECT_EQ(box.label("ProductName")->text().toStdString(), "推箱子");
    EXPECT_EQ(box.label("ProductName")->font().pixelSize(), 19);
    EXPECT_EQ(box.label("Version")->text().toStdString(), "版本：1.30");
    EXPECT_EQ(box.label("ProgramIcon")->size(), QSize(60, 60));
    QTest::mouseClick(box.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
}

} // namespace
} // namespace sokoban::testing
