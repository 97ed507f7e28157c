#include "ui/language.h"

#include "storage/file_places.h"
#include "storage/safe_write.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTranslator>
#include <QWidget>

#include <cstdlib>
#include <memory>

namespace sokoban {

namespace {

// "en", "en_GB.UTF-8", "en@quot" are English; "eng" is not.
bool isLanguage(const std::string& entry, const char* code) {
    const std::string c = code;
    if (entry.compare(0, c.size(), c) != 0) return false;
    return entry.size() == c.size() || entry[c.size()] == '_' || entry[c.size()] == '.' ||
           entry[c.size()] == '@';
}

} // namespace

Language systemLanguage(const Environment& env) {
    // LANGUAGE is a list of preferences; entries of other languages are
    // passed over, as a desktop with "fr:en" means English before Chinese.
    const std::string list = env("LANGUAGE");
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t to = std::min(list.find(':', from), list.size());
        const std::string entry = list.substr(from, to - from);
        if (isLanguage(entry, "en")) return Language::English;
        if (isLanguage(entry, "zh")) return Language::Chinese;
        from = to + 1;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string value = env(name);
        if (!value.empty()) return isLanguage(value, "en") ? Language::English : Language::Chinese;
    }
    return Language::Chinese;
}

Environment environment() {
    return [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::string(v) : std::string();
    };
}

Language resolve(LanguageChoice choice, const Environment& env) {
    switch (choice) {
    case LanguageChoice::Chinese:
        return Language::Chinese;
    case LanguageChoice::English:
        return Language::English;
    case LanguageChoice::System:
        break;
    }
    return systemLanguage(env);
}

std::filesystem::path languageChoiceFile(const std::filesystem::path& appDir) {
    // Beside assist.var, in whichever folder the game keeps its own files.
    return FilePlaces(appDir).playOptionsFile().parent_path() / "language.var";
}

LanguageChoice loadLanguageChoice(const std::filesystem::path& appDir) {
    try {
        const auto file = languageChoiceFile(appDir);
        if (!isPlainFile(file)) return LanguageChoice::System;
        const Bytes b = readPlainFile(file, 1);
        if (b.size() == 1 && b[0] <= 2) return static_cast<LanguageChoice>(b[0]);
    } catch (const FileError&) {
        // A damaged file costs the choice, never the game.
    }
    return LanguageChoice::System;
}

void saveLanguageChoice(const std::filesystem::path& appDir, LanguageChoice choice) {
    replaceFileContents(languageChoiceFile(appDir), Bytes{static_cast<std::uint8_t>(choice)});
}

std::filesystem::path translationFile(const std::filesystem::path& appDir, Language language) {
    if (language != Language::English) return {};
    const std::filesystem::path name = "sokoban_en.qm";
    std::vector<std::filesystem::path> places{appDir / "translations"};
    if (QCoreApplication::instance())
        places.push_back(
            std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) /
            "translations");
    std::error_code ec;
    for (const auto& dir : places)
        if (std::filesystem::is_regular_file(dir / name, ec)) return dir / name;
    return {};
}

namespace {

Language current = Language::Chinese;

// The translators in use; each is installed while its language is.
struct Translators {
    QTranslator game;  // sokoban_en.qm
    QTranslator qtOwn; // Qt's own buttons and dialogs in Chinese
    bool gameIn = false;
    bool qtOwnIn = false;
};

Translators& translators() {
    static auto* t = new Translators; // lives as long as the application's translator list
    return *t;
}

const char* roleProperty(TextRole role) {
    switch (role) {
    case TextRole::Text:
        return "sokobanTrText";
    case TextRole::ToolTip:
        return "sokobanTrToolTip";
    case TextRole::StatusTip:
        return "sokobanTrStatusTip";
    case TextRole::Title:
        return "sokobanTrTitle";
    case TextRole::WindowTitle:
        return "sokobanTrWindowTitle";
    case TextRole::AccessibleName:
        return "sokobanTrAccessibleName";
    case TextRole::AccessibleDescription:
        return "sokobanTrAccessibleDescription";
    case TextRole::TabText:
        return "sokobanTrTabText";
    }
    return "";
}

constexpr TextRole kRoles[] = {TextRole::Text,
                               TextRole::ToolTip,
                               TextRole::StatusTip,
                               TextRole::Title,
                               TextRole::WindowTitle,
                               TextRole::AccessibleName,
                               TextRole::AccessibleDescription,
                               TextRole::TabText};

void put(QObject* target, TextRole role, const QString& text) {
    auto* widget = qobject_cast<QWidget*>(target);
    auto* action = qobject_cast<QAction*>(target);
    switch (role) {
    case TextRole::Text:
        if (auto* b = qobject_cast<QAbstractButton*>(target))
            b->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(target))
            l->setText(text);
        else if (auto* e = qobject_cast<QLineEdit*>(target))
            e->setText(text);
        else if (action)
            action->setText(text);
        else if (auto* m = qobject_cast<QMenu*>(target))
            m->setTitle(text);
        else if (auto* g = qobject_cast<QGroupBox*>(target))
            g->setTitle(text);
        else if (widget)
            widget->setWindowTitle(text);
        return;
    case TextRole::ToolTip:
        if (action)
            action->setToolTip(text);
        else if (widget)
            widget->setToolTip(text);
        return;
    case TextRole::StatusTip:
        if (action)
            action->setStatusTip(text);
        else if (widget)
            widget->setStatusTip(text);
        return;
    case TextRole::Title:
        if (auto* m = qobject_cast<QMenu*>(target))
            m->setTitle(text);
        else if (auto* g = qobject_cast<QGroupBox*>(target))
            g->setTitle(text);
        else if (widget)
            widget->setWindowTitle(text);
        return;
    case TextRole::WindowTitle:
        if (widget) widget->setWindowTitle(text);
        return;
    case TextRole::AccessibleName:
        if (widget) widget->setAccessibleName(text);
        return;
    case TextRole::AccessibleDescription:
        if (widget) widget->setAccessibleDescription(text);
        return;
    case TextRole::TabText:
        // page -> the tab widget's stack -> the tab widget
        if (widget && widget->parentWidget())
            if (auto* tabs = qobject_cast<QTabWidget*>(widget->parentWidget()->parentWidget()))
                if (const int i = tabs->indexOf(widget); i >= 0) tabs->setTabText(i, text);
        return;
    }
}

// Sets the remembered texts of one object again.
void retranslate(QObject* o) {
    for (TextRole role : kRoles) {
        const QVariant v = o->property(roleProperty(role));
        if (!v.isValid()) continue;
        const QStringList kept = v.toStringList();
        if (kept.size() < 2) continue;
        put(o, role,
            translated(kept[0].toUtf8().constData(), kept[1].toUtf8().constData(), kept.mid(2)));
    }
}

void retranslateAll() {
    for (QWidget* w : QApplication::allWidgets()) {
        retranslate(w);
        // Qt names a tab bar's scroll buttons for screen readers once, when
        // it makes them. Their words are Qt's own, from its translations.
        if (qobject_cast<QTabBar*>(w->parentWidget())) {
            static const char* const left = "Scroll Left";
            static const char* const right = "Scroll Right";
            if (w->objectName() == "ScrollLeftButton")
                w->setAccessibleName(QCoreApplication::translate("QTabBar", left));
            else if (w->objectName() == "ScrollRightButton")
                w->setAccessibleName(QCoreApplication::translate("QTabBar", right));
        }
        for (QAction* a : w->findChildren<QAction*>(Qt::FindDirectChildrenOnly))
            retranslate(a);
    }
}

} // namespace

QString translated(const char* context, const char* source, const QStringList& args) {
    const QString pattern = QCoreApplication::translate(context, source);
    if (args.isEmpty()) return pattern;
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const int n = pattern[i + 1].digitValue();
            if (n <= args.size()) {
                out += args[n - 1];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString TrText::text() const {
    return empty() ? QString() : translated(context, source, args);
}

void setTr(QObject* target, TextRole role, const char* context, const char* source,
           const QStringList& args) {
    if (!source || !*source) {
        clearTr(target, role);
        put(target, role, QString());
        return;
    }
    QStringList kept{QString::fromUtf8(context), QString::fromUtf8(source)};
    kept += args;
    target->setProperty(roleProperty(role), kept);
    put(target, role, translated(context, source, args));
}

void clearTr(QObject* target, TextRole role) {
    target->setProperty(roleProperty(role), QVariant());
}

Language currentLanguage() {
    return current;
}

bool applyLanguage(Language language, const std::filesystem::path& appDir) {
    Translators& t = translators();
    bool ok = true;
    if (t.gameIn) QCoreApplication::removeTranslator(&t.game);
    if (t.qtOwnIn) QCoreApplication::removeTranslator(&t.qtOwn);
    t.gameIn = t.qtOwnIn = false;
    if (language == Language::English) {
        const auto file = translationFile(appDir, language);
        ok = !file.empty() && t.game.load(QString::fromStdString(file.string()));
        if (ok) t.gameIn = QCoreApplication::installTranslator(&t.game);
    }
    if (!ok) language = Language::Chinese;
    // Qt's own words are English unless told otherwise.
    if (language == Language::Chinese &&
        (!t.qtOwn.isEmpty() ||
         t.qtOwn.load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))))
        t.qtOwnIn = QCoreApplication::installTranslator(&t.qtOwn);
    current = language;
    retranslateAll();
    // Windows with texts made of the game's state word them again now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    return ok;
}

} // namespace sokoban
