#include "../game/test_support.h"
#include "../test_files.h"
#include "ui/language.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>
#include <gtest/gtest.h>

#include <map>

namespace sokoban::testing {
namespace {

Environment env(std::map<std::string, std::string> values) {
    return [values](const char* name) {
        auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    };
}

TEST(SystemLanguage, TheLocaleDecides) {
    struct Case {
        std::map<std::string, std::string> env;
        Language want;
    };
    const Case cases[] = {
        {{}, Language::Chinese},
        {{{"LANG", "C"}}, Language::Chinese},
        {{{"LANG", "POSIX"}}, Language::Chinese},
        {{{"LANG", "C.UTF-8"}}, Language::Chinese},
        {{{"LANG", "en_US.UTF-8"}}, Language::English},
        {{{"LANG", "en"}}, Language::English},
        {{{"LANG", "zh_CN.UTF-8"}}, Language::Chinese},
        {{{"LANG", "de_DE.UTF-8"}}, Language::Chinese},
        {{{"LANG", "eng"}}, Language::Chinese}, // no language of ours
        {{{"LANGUAGE", "en"}}, Language::English},
        {{{"LANGUAGE", "en"}, {"LANG", "zh_CN.UTF-8"}}, Language::English},
        {{{"LANGUAGE", "zh_CN:en"}, {"LANG", "en_GB.UTF-8"}}, Language::Chinese},
        {{{"LANGUAGE", "fr:en_GB"}}, Language::English},
        {{{"LANGUAGE", "fr:de"}, {"LANG", "en_US.UTF-8"}}, Language::English},
        {{{"LANGUAGE", "fr"}}, Language::Chinese},
        {{{"LC_MESSAGES", "en_GB.UTF-8"}, {"LANG", "zh_CN.UTF-8"}}, Language::English},
        {{{"LC_MESSAGES", "zh_TW.UTF-8"}, {"LANG", "en_US.UTF-8"}}, Language::Chinese},
        {{{"LC_ALL", "C"}, {"LC_MESSAGES", "en_US.UTF-8"}}, Language::Chinese},
        {{{"LC_ALL", "en_US.UTF-8"}, {"LANG", "zh_CN.UTF-8"}}, Language::English},
        {{{"LANGUAGE", ""}, {"LANG", "en_US.UTF-8"}}, Language::English},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const auto& [k, v] : c.env)
            shown += k + "=" + v + " ";
        EXPECT_EQ(systemLanguage(env(c.env)), c.want) << shown;
    }
}

TEST(SystemLanguage, AChoiceOverridesTheLocale) {
    const auto english = env({{"LANG", "en_US.UTF-8"}});
    const auto chinese = env({{"LANG", "zh_CN.UTF-8"}});
    EXPECT_EQ(resolve(LanguageChoice::System, english), Language::English);
    EXPECT_EQ(resolve(LanguageChoice::System, chinese), Language::Chinese);
    EXPECT_EQ(resolve(LanguageChoice::Chinese, english), Language::Chinese);
    EXPECT_EQ(resolve(LanguageChoice::English, chinese), Language::English);
}

TEST(LanguageChoiceFile, KeptBesideTheOtherChoicesAndReadBack) {
    TempDir dir;
    EXPECT_EQ(loadLanguageChoice(dir.path), LanguageChoice::System); // no file yet
    for (LanguageChoice c :
         {LanguageChoice::English, LanguageChoice::Chinese, LanguageChoice::System}) {
        saveLanguageChoice(dir.path, c);
        EXPECT_EQ(loadLanguageChoice(dir.path), c);
    }
    EXPECT_EQ(languageChoiceFile(dir.path), dir.path / "language.var");
    saveLanguageChoice(dir.path, LanguageChoice::English);
    EXPECT_EQ(contents(dir.path / "language.var"), Bytes{2});
}

TEST(LanguageChoiceFile, ADamagedFileMeansTheSystemsLanguage) {
    TempDir dir;
    const auto file = dir.path / "language.var";
    for (const Bytes& b : {Bytes{}, Bytes{3}, Bytes{0xff}}) {
        writeBytes(file, b);
        EXPECT_EQ(loadLanguageChoice(dir.path), LanguageChoice::System) << b.size();
    }
    std::filesystem::remove(file);
    std::filesystem::create_directory(file); // not a file at all
    EXPECT_EQ(loadLanguageChoice(dir.path), LanguageChoice::System);
}

TEST(Translated, ArgumentsAreFilledInOnePass) {
    struct Case {
        const char* source;
        QStringList args;
        QString want;
    };
    const Case cases[] = {
        {"%1 and %2", {"a", "b"}, "a and b"},
        {"%2 before %1", {"a", "b"}, "b before a"},
        {"%1%1", {"x"}, "xx"},
        {"file %1", {"50%1 off.box"}, "file 50%1 off.box"}, // not filled again
        {"%1 of %3", {"a"}, "a of %3"},                     // no such argument
        {"100%", {"a"}, "100%"},
        {"plain", {}, "plain"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(translated("none", c.source, c.args), c.want) << c.source;
}

// A translator of our own for one context, so that the test does not hang
// on the English file's words.
class Upper : public QTranslator {
  public:
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (QString(context) != "test") return {};
        return QString::fromUtf8(source).toUpper();
    }
    bool isEmpty() const override { return false; }
};

TEST(SetTr, EveryKeptTextFollowsAChangeOfLanguage) {
    QWidget window;
    auto* tabs = new QTabWidget(&window);
    auto* page = new QWidget;
    tabs->addTab(page, QString());
    auto* button = new QPushButton(&window);
    auto* label = new QLabel(&window);
    auto* box = new QGroupBox(&window);
    auto* edit = new QLineEdit(&window);
    auto* menu = new QMenu(&window);
    auto* action = new QAction(&window);
    setTr(&window, TextRole::WindowTitle, "test", "title");
    setTr(page, TextRole::TabText, "test", "page");
    setTr(button, "test", "button %1", {"one"});
    setTr(button, TextRole::ToolTip, "test", "tip");
    setTr(label, "test", "label");
    setTr(box, TextRole::Title, "test", "box");
    setTr(edit, "test", "edit");
    setTr(menu, TextRole::Title, "test", "menu");
    setTr(action, "test", "action");
    setTr(action, TextRole::StatusTip, "test", "status");
    // What is set by hand afterwards is no longer the kept text's.
    auto* plain = new QLabel(&window);
    setTr(plain, "test", "kept");
    clearTr(plain, TextRole::Text);
    plain->setText("own");

    const auto texts = [&] {
        return QStringList{window.windowTitle(), tabs->tabText(0), button->text(),
                           button->toolTip(),    label->text(),    box->title(),
                           edit->text(),         menu->title(),    action->text(),
                           action->statusTip(),  plain->text()};
    };
    const QStringList before = texts();
    EXPECT_EQ(before, (QStringList{"title", "page", "button one", "tip", "label", "box", "edit",
                                   "menu", "action", "status", "own"}));
    Upper upper;
    QCoreApplication::installTranslator(&upper);
    applyLanguage(Language::Chinese, {}); // sets every kept text again
    EXPECT_EQ(texts(), (QStringList{"TITLE", "PAGE", "BUTTON one", "TIP", "LABEL", "BOX", "EDIT",
                                    "MENU", "ACTION", "STATUS", "own"}));
    QCoreApplication::removeTranslator(&upper);
    applyLanguage(Language::Chinese, {});
    EXPECT_EQ(texts(), before);
}

TEST(ApplyLanguage, EnglishWithoutItsFileStaysChinese) {
    TempDir dir;
    std::filesystem::create_directories(dir.path / "translations");
    writeBytes(dir.path / "translations" / "sokoban_en.qm", Bytes{1, 2, 3}); // not a .qm
    EXPECT_FALSE(applyLanguage(Language::English, dir.path));
    EXPECT_EQ(currentLanguage(), Language::Chinese);
    EXPECT_EQ(QCoreApplication::translate("sokoban::TMainForm", "撤销"), QString("撤销"));
}

TEST(ApplyLanguage, TheBuiltTranslationIsFoundInTheProgramDirectory) {
    const std::filesystem::path bin = SOKOBAN_BIN_DIR;
    EXPECT_EQ(translationFile(bin, Language::English), bin / "translations" / "sokoban_en.qm");
    EXPECT_TRUE(translationFile(bin, Language::Chinese).empty());
    ASSERT_TRUE(applyLanguage(Language::English, bin));
    EXPECT_EQ(currentLanguage(), Language::English);
    EXPECT_EQ(QCoreApplication::translate("sokoban::TMainForm", "撤销"), QString("Undo"));
    applyLanguage(Language::Chinese, bin);
    EXPECT_EQ(QCoreApplication::translate("sokoban::TMainForm", "撤销"), QString("撤销"));
}

} // namespace
} // namespace sokoban::testing
