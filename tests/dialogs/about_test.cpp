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
    auto page = [this](const char* name) {
        return QUrl::fromLocalFile(QString::fromStdString((dir.path / name).string()))
            .toString()
            .toStdString();
    };
    QTest::mouseClick(box.label("Label1"), Qt::LeftButton);
    QTest::mouseClick(box.label("Label2"), Qt::LeftButton);
    help.mHelpContentClick();
    help.mEmailClick();
    help.mMyWebClick();
    EXPECT_EQ(desktop.urls,
              (std::vector<std::string>{page("about.html"), page("contact.html"), page("help.html"),
                                        page("contact.html"), page("about.html")}));
}

// Openers hand a local file to the browser as a plain path, so a "#section"
// never arrives: each command's page is a file of its own in the program
// directory that starts with its section.
TEST(HelpPagesTest, EachCommandOpensAPageThatStartsWithItsSection) {
    ScriptedDesktop desktop;
    const HelpCommands help(SOKOBAN_BIN_DIR, desktop);
    const struct {
        void (HelpCommands::*command)() const;
        const char* heading;
    } cases[] = {
        {&HelpCommands::mHelpContentClick, "<h1>推箱子 帮助</h1>"},
        {&HelpCommands::mEmailClick, "<h1 id=\"contact\">联系我们</h1>"},
        {&HelpCommands::mMyWebClick, "<h1 id=\"about\">关于本游戏</h1>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heading);
        desktop.urls.clear();
        (help.*c.command)();
        ASSERT_EQ(desktop.urls.size(), 1u);
        const QUrl url(QString::fromStdString(desktop.urls[0]));
        EXPECT_TRUE(url.isLocalFile());
        EXPECT_FALSE(url.hasFragment());
        const Bytes b = readFile(url.toLocalFile().toStdString());
        const std::string page(b.begin(), b.end());
        const auto first = page.find("<h1");
        ASSERT_NE(first, std::string::npos);
        EXPECT_EQ(page.find(c.heading), first);
        // Links between the pages and the style sheet lead to files that are there.
        for (const char* other : {"help.html", "about.html", "contact.html", "help.css"}) {
            if (page.find(std::string("href=\"") + other + "\"") == std::string::npos) continue;
            EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(SOKOBAN_BIN_DIR) / other))
                << other;
        }
    }
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
