// Every window of the game in English: no Chinese character left in a menu,
// a button, a caption, a tip or a message; and back in Chinese, every text
// exactly as before.
#include "../dialogs/dialog_test_support.h"
#include "session/messages.h"
#include "ui/designer/change.h"
#include "ui/designer/design.h"
#include "ui/designer/item.h"
#include "ui/designer/xsbviewer.h"
#include "ui/dialogs/about.h"
#include "ui/dialogs/infor.h"
#include "ui/dialogs/level_chooser.h"
#include "ui/dialogs/option.h"
#include "ui/dialogs/select.h"
#include "ui/face/selectface.h"
#include "ui/language.h"
#include "ui/messages.h"
#include "ui/platform/desktop_integration.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

namespace sokoban::testing {
namespace {

const std::filesystem::path kBinDir = SOKOBAN_BIN_DIR;

// Han characters, CJK punctuation and the full-width forms Chinese text uses.
bool hasCjk(const QString& s) {
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if ((u >= 0x2E80 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF) ||
            (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

void addAction(QStringList& out, const QString& where, QAction* a) {
    if (a->isSeparator()) return;
    out << where + " action: " + a->text() << where + " action tip: " + a->toolTip()
        << where + " status tip: " + a->statusTip();
    if (QMenu* m = a->menu()) {
        out << where + " menu: " + m->title();
        for (QAction* sub : m->actions())
            addAction(out, where, sub);
    }
}

// Every text a window shows or tells: captions, titles, tips, names for
// screen readers, list and combo entries, and its menus' items.
QStringList shownTexts(QWidget* window) {
    QStringList out;
    const QString where = window->objectName();
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        // The menu bar's overflow button holds the menus that do not fit,
        // the same menus as the bar's, and which ones depends on the width.
        const auto overflow = [](const QWidget* x) {
            for (; x; x = x->parentWidget()) {
                if (x->objectName() == "qt_menubar_ext_button") return true;
                if (auto* bar = qobject_cast<QMenuBar*>(x->parentWidget()))
                    if (auto* b = bar->findChild<QToolButton*>("qt_menubar_ext_button");
                        b && b->menu() == x)
                        return true;
            }
            return false;
        };
        if (overflow(w)) continue;
        const QString at = where + "/" + w->objectName();
        out << at + " title: " + w->windowTitle() << at + " tip: " + w->toolTip()
            << at + " name: " + w->accessibleName()
            << at + " description: " + w->accessibleDescription();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) out << at + " text: " + b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) out << at + " text: " + l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) out << at + " title: " + g->title();
        if (auto* e = qobject_cast<QLineEdit*>(w)) out << at + " text: " + e->text();
        if (auto* p = qobject_cast<QPlainTextEdit*>(w)) out << at + " text: " + p->toPlainText();
        if (auto* t = qobject_cast<QTextBrowser*>(w)) out << at + " page: " + t->toPlainText();
        if (auto* m = qobject_cast<QMenu*>(w)) out << at + " menu: " + m->title();
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i)
                out << at + " tab: " + t->tabText(i);
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                out << at + " entry: " + c->itemText(i);
        if (auto* l = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < l->count(); ++i)
                out << at + " entry: " + l->item(i)->text();
        if (auto* v = qobject_cast<QListView*>(w); v && v->model())
            for (int i = 0; i < v->model()->rowCount(); ++i)
                for (int role : {Qt::DisplayRole, Qt::ToolTipRole})
                    out << at + " entry: " + v->model()->index(i, 0).data(role).toString();
        for (QAction* a : w->actions())
            addAction(out, at, a);
    }
    return out;
}

QStringList cjkIn(const QStringList& texts) {
    QStringList out;
    for (const QString& t : texts)
        if (hasCjk(t)) out << t;
    return out;
}

class EnglishWindows : public MainFormFixture {
  protected:
    ScriptedDesktop desktop;

    void SetUp() override {
        // As the game starts: its own words and Qt's in Chinese.
        applyLanguage(Language::Chinese, kBinDir);
        start();
        // The help pages and the translation, as the build lays them out.
        for (const char* page : {"help.html", "about.html", "contact.html", "help.css"})
            std::filesystem::copy_file(kBinDir / page, dir.path / page);
        for (const char* folder : {"en", "translations"})
            std::filesystem::copy(kBinDir / folder, dir.path / folder,
                                  std::filesystem::copy_options::recursive);
    }
    void TearDown() override {
        applyLanguage(Language::Chinese, kBinDir);
        MainFormFixture::TearDown();
    }
};

TEST_F(EnglishWindows, EveryWindowSpeaksEnglishAndChineseComesBackAsItWas) {
    // Each window made and shown once, in the order a player meets them.
    HelpCommands help(dir.path, desktop);
    TAboutBox about(help);
    TPagesDlg options(*form, desktop, &dialogs, "/opt/game/sokoban");
    Tforminfor infor(*form, &dialogs);
    TFormSelect select(*form, &dialogs);
    LevelChooser chooser(*form);
    TFormDesign design(*form, dialogs);
    TFormItem item;
    TformChange change(form->painter(), &dialogs);
    TFormXSBViewer viewer(*form, design, &dialogs);
    TFormFace face(*form);
    form->show();
    about.show();
    options.showDialog();
    infor.showDialog();
    select.showDialog();
    chooser.showChooser();
    design.show();
    item.show();
    change.show();
    viewer.show();
    face.show();
    help.mHelpContentClick();
    THelpWindow& helpWindow = help.window();
    const QList<QWidget*> windows{form.get(), &about, &options, &infor,  &select, &chooser,
                                  &design,    &item,  &change,  &viewer, &face,   &helpWindow};
    const auto allTexts = [&] {
        QStringList texts;
        for (QWidget* w : windows)
            texts += shownTexts(w);
        return texts;
    };
    // The two large windows as on a screen of 800 x 600.
    form->resize(800, 600);
    design.resize(800, 600);
    QApplication::processEvents();
    QStringList chinese = allTexts();
    for (QWidget* w : windows)
        screenshot(*w, "_" + w->objectName() + "_zh");
    ASSERT_FALSE(cjkIn(chinese).isEmpty()); // the walk reads the texts at all

    ASSERT_TRUE(applyLanguage(Language::English, kBinDir));
    // Windows that make their texts when shown make them again.
    infor.FormShow();
    help.mHelpContentClick();
    const QStringList english = allTexts();
    // SOKOBAN_SCREENSHOT=<folder>: the windows to look at, in English, laid
    // out again for their new captions.
    QApplication::processEvents();
    for (QWidget* w : windows)
        screenshot(*w, "_" + w->objectName() + "_en");
    auto* pages = options.findChild<QTabWidget*>("PageControl1");
    for (int i = 1; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        screenshot(options, QString("_TPagesDlg%1_en").arg(i + 1));
    }
    EXPECT_TRUE(cjkIn(english).isEmpty()) << cjkIn(english).join("\n").toStdString();
    EXPECT_EQ(form->action("mUndo")->text(), "&Undo");
    EXPECT_EQ(options.windowTitle(), "Options");
    EXPECT_TRUE(helpWindow.source().toLocalFile().endsWith("/en/help.html"))
        << helpWindow.source().toString().toStdString();

    applyLanguage(Language::Chinese, kBinDir);
    infor.FormShow();
    help.mHelpContentClick();
    // In any order: a page of a tab widget comes last among its siblings
    // once shown.
    QStringList back = allTexts();
    back.sort();
    chinese.sort();
    EXPECT_EQ(back.size(), chinese.size());
    for (qsizetype i = 0; i < std::min(back.size(), chinese.size()); ++i)
        EXPECT_EQ(back[i].toStdString(), chinese[i].toStdString());
}

TEST_F(EnglishWindows, EveryMessageHasItsEnglish) {
    ASSERT_TRUE(applyLanguage(Language::English, kBinDir));
    for (int id = 1; id < static_cast<int>(MessageId::Count); ++id) {
        Message m(static_cast<MessageId>(id), "1", "2", "3", "4", "5");
        const QString words = messageText(m);
        EXPECT_FALSE(hasCjk(words)) << id << " " << words.toStdString();
    }
}

TEST_F(EnglishWindows, TheCaptionAndStatusBarFollowTheLanguageAtOnce) {
    const auto words = [this] {
        QStringList w{form->windowTitle()};
        for (int i = 0; i < 4; ++i)
            w << form->statusPanel(i)->text();
        return w;
    };
    const QStringList chinese = words();
    ASSERT_TRUE(applyLanguage(Language::English, kBinDir));
    EXPECT_EQ(words(),
              (QStringList{"Box Pusher      Default levels  Level 1", "Level: 1 / 3",
                           "Moves: 0   ★   Best moves: none", "Pushes: 0   ★   Best pushes: none",
                           "  Box Pusher · push every box onto a target"}));
    applyLanguage(Language::Chinese, kBinDir);
    EXPECT_EQ(words(), chinese);
    // What the game says after the change is in the new language too: the
    // push that solves the first level moves on to the second.
    ASSERT_TRUE(applyLanguage(Language::English, kBinDir));
    QTest::keyClick(form->boardImage(), Qt::Key_Right);
    EXPECT_EQ(form->windowTitle(), "Box Pusher      Default levels  Level 2");
    EXPECT_EQ(form->statusPanel(0)->text(), "Level: 2 / 3");
    for (const std::string& t : dialogs.takeTexts())
        EXPECT_FALSE(hasCjk(QString::fromStdString(t))) << t;
}

TEST_F(EnglishWindows, OptionsChooseTheLanguageAndKeepTheChoice) {
    TPagesDlg options(*form, desktop, &dialogs, "/opt/game/sokoban");
    options.showDialog();
    // Nothing chosen yet: the system decides.
    EXPECT_TRUE(options.control("language1")->isChecked());
    options.control("language3")->click();
    options.OKBtnClick();
    EXPECT_EQ(loadLanguageChoice(dir.path), LanguageChoice::English);
    EXPECT_EQ(currentLanguage(), Language::English);
    EXPECT_EQ(form->action("mOption")->text(), "&Options");
    EXPECT_EQ(form->button("tbUndo")->text(), "Undo");

    options.showDialog();
    EXPECT_TRUE(options.control("language3")->isChecked());
    EXPECT_EQ(options.control("language2")->text(), "Chinese");
    options.control("language2")->click();
    options.OKBtnClick();
    EXPECT_EQ(loadLanguageChoice(dir.path), LanguageChoice::Chinese);
    EXPECT_EQ(currentLanguage(), Language::Chinese);
    EXPECT_EQ(form->action("mOption")->text(), "选项(&O)");
    EXPECT_EQ(dialogs.takeTexts(), std::vector<std::string>());
}

} // namespace
} // namespace sokoban::testing
