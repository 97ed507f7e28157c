// The language of the game's words. Chinese is the language the texts are
// written in; English comes from translations/sokoban_en.qm. The player picks
// one in 选项 or lets the desktop's locale decide.
//
// Texts set through setTr() remember their source, so that a change of
// language sets them again at once in every window, open or hidden.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

class QObject;

namespace sokoban {

enum class Language { Chinese, English };

// The player's choice, one byte in language.var beside assist.var.
enum class LanguageChoice : std::uint8_t { System = 0, Chinese = 1, English = 2 };

// The language the locale asks for: the first of LANGUAGE's entries that is
// English or Chinese, else LC_ALL, LC_MESSAGES or LANG, whichever is set
// first. English when that names English; Chinese for anything else, the C
// locale included.
using Environment = std::function<std::string(const char* name)>;
Language systemLanguage(const Environment& env);
// The environment of this process.
Environment environment();

Language resolve(LanguageChoice choice, const Environment& env);

std::filesystem::path languageChoiceFile(const std::filesystem::path& appDir);
// System when the file is missing, damaged or holds an unknown value.
LanguageChoice loadLanguageChoice(const std::filesystem::path& appDir);
// Throws FileError.
void saveLanguageChoice(const std::filesystem::path& appDir, LanguageChoice choice);

// The .qm file of a language, looked for in the program directory's
// translations/ folder, then beside the executable; empty when there is none
// (Chinese needs none).
std::filesystem::path translationFile(const std::filesystem::path& appDir, Language language);

// Installs the translations of the language (the game's and Qt's own
// buttons') and sets every remembered text again. False when the English
// file is missing: the game then stays in Chinese.
bool applyLanguage(Language language, const std::filesystem::path& appDir);
Language currentLanguage();

// Where a remembered text goes.
enum class TextRole {
    Text,
    ToolTip,
    StatusTip,
    Title,
    WindowTitle,
    AccessibleName,
    AccessibleDescription,
    TabText
};

// Sets the translation of `source` in `context`, with %1, %2 ... filled from
// args, and keeps it for the next change of language. Menus, group boxes and
// tool bars take Title; a page of a tab widget takes TabText once it is added.
void setTr(QObject* target, TextRole role, const char* context, const char* source,
           const QStringList& args = {});
inline void setTr(QObject* target, const char* context, const char* source,
                  const QStringList& args = {}) {
    setTr(target, TextRole::Text, context, source, args);
}

// Forgets a remembered text: what is set there now comes from elsewhere.
void clearTr(QObject* target, TextRole role);

// A text to translate: its context and source (marked for lupdate where it
// is written), and the arguments of its %1, %2 ...
struct TrText {
    const char* context = nullptr;
    const char* source = nullptr;
    QStringList args = {};
    bool empty() const { return !source || !*source; }
    QString text() const;
};
inline void setTr(QObject* target, TextRole role, const TrText& t) {
    setTr(target, role, t.context, t.source, t.args);
}

// The translation with %1 ... %9 replaced in one pass, so that an argument
// holding "%1" (a file name) stays as it is.
QString translated(const char* context, const char* source, const QStringList& args = {});

} // namespace sokoban
