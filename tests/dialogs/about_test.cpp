#include "dialog_test_support.h"
#include "ui/dialogs/about.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

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

// The help is the game's own: the links of the about box and the help menu
// show its pages in the help window, not in whatever the desktop opens
// HTML files with.
TEST(HelpWindowTest, LinksAndHelpMenuShowTheGamesOwnPages) {
    ScriptedDesktop desktop;
    const HelpCommands help(SOKOBAN_BIN_DIR, desktop);
    TAboutBox box(help);
    const auto page = [](const char* name) {
        return QUrl::fromLocalFile(
            QString::fromStdString((std::filesystem::path(SOKOBAN_BIN_DIR) / name).string()));
    };
    const struct {
        std::function<void()> command;
        const char* page;
        const char* heading;
    } cases[] = {
        {[&] { QTest::mouseClick(box.label("Label1"), Qt::LeftButton); }, "about.html",
         "关于本游戏"},
        {[&] { QTest::mouseClick(box.label("Label2"), Qt::LeftButton); }, "contact.html",
         "联系我们"},
        {[&] { help.mHelpContentClick(); }, "help.html", "推箱子 帮助"},
        {[&] { help.mEmailClick(); }, "contact.html", "联系我们"},
        {[&] { help.mMyWebClick(); }, "about.html", "关于本游戏"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        c.command();
        THelpWindow& w = help.window();
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.source(), page(c.page));
        EXPECT_EQ(w.browser()->document()->firstBlock().text().toStdString(), c.heading);
        EXPECT_TRUE(w.windowTitle().contains(c.heading));
    }
    EXPECT_TRUE(desktop.urls.empty());
    // The links say where they lead, not a file name.
    for (const char* name : {"Label1", "Label2"})
        EXPECT_FALSE(box.label(name)->text().contains(".html")) << name;
    box.showBox();
    screenshot(box);
}

// Links between the pages stay in the window, with back and forward; links
// out of the help go to the desktop; help.css styles the pages.
TEST(HelpWindowTest, FollowsLinksAndKeepsTheStyleSheet) {
    ScriptedDesktop desktop;
    const HelpCommands help(SOKOBAN_BIN_DIR, desktop);
    help.mHelpContentClick();
    THelpWindow& w = help.window();
    const QUrl start = w.source();
    QTextBrowser* b = w.browser();

    // The headings of sections take help.css's colour.
    const auto headingColour = [b](const QString& text) {
        for (QTextBlock k = b->document()->begin(); k.isValid(); k = k.next())
            if (k.text() == text) return k.charFormat().foreground().color();
        return QColor();
    };
    EXPECT_EQ(headingColour("键盘"), QColor("#a50"));

    w.followLink(QUrl("about.html"));
    EXPECT_EQ(w.source(), start.resolved(QUrl("about.html")));
    w.followLink(QUrl("help.html#keys"));
    EXPECT_EQ(w.source(), start.resolved(QUrl("help.html#keys")));
    EXPECT_TRUE(b->isBackwardAvailable());
    b->backward();
    EXPECT_EQ(w.source(), start.resolved(QUrl("about.html")));
    w.followLink(QUrl("missing.html")); // not there: the page stays
    EXPECT_EQ(w.source(), start.resolved(QUrl("about.html")));
    w.followLink(QUrl("https://example.org/sokoban"));
    w.followLink(QUrl("mailto:team@example.org"));
    EXPECT_EQ(desktop.urls,
              (std::vector<std::string>{"https://example.org/sokoban", "mailto:team@example.org"}));
    w.showPage("help");
    screenshot(w);
}

TEST(HelpWindowTest, AMissingPageIsSaidInTheWindow) {
    TempDir dir;
    ScriptedDesktop desktop;
    const HelpCommands help(dir.path, desktop);
    help.mHelpContentClick();
    EXPECT_TRUE(help.window().isVisible());
    EXPECT_TRUE(help.window().browser()->toPlainText().startsWith("找不到帮助文件："));
    EXPECT_TRUE(desktop.urls.empty());
}

// The pages' links to one another and to the style sheet lead to files
// that are there, and each command's page starts with its own heading.
TEST(HelpPagesTest, EachCommandShowsAPageThatStartsWithItsSection) {
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
        (help.*c.command)();
        const QUrl url = help.window().source();
        EXPECT_TRUE(url.isLocalFile());
        const Bytes bytes = readFile(url.toLocalFile().toStdString());
        const std::string page(bytes.begin(), bytes.end());
        const auto first = page.find("<h1");
        ASSERT_NE(first, std::string::npos);
        EXPECT_EQ(page.find(c.heading), first);
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
