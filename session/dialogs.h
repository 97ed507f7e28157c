// The desktop's dialogs as the game needs them: four kinds of message, the
// one-line input box, file open and save, and the general error report.
// Standard C++ only, so the game model can use it without widgets.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace sokoban {

enum class MessageKind { Warning, Information, Error, Confirmation };
enum class Answer { Yes, No, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message with an OK button.
    virtual void message(MessageKind kind, const std::string& text) = 0;
    // Yes/No question; true only for Yes.
    virtual bool confirm(const std::string& text) = 0;
    // Yes/No/Cancel question. Without a Cancel button of its own, a service
    // asks Yes/No.
    virtual Answer askYesNoCancel(const std::string& text) {
        return confirm(text) ? Answer::Yes : Answer::No;
    }
    // One-line input box; nullopt when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initial) = 0;
    // Filters in the form "text|pattern|text|pattern"; nullopt when cancelled.
    virtual std::optional<std::string> openFile(const std::string& filter,
                                                const std::string& initialDir = {}) = 0;
    virtual std::optional<std::string> saveFile(const std::string& filter,
                                                const std::string& proposedName,
                                                const std::string& initialDir = {}) = 0;
    // The general error report of a failed file operation.
    virtual void fileError(const std::string& path, const std::string& reason) = 0;
    virtual void beep() = 0;

    void warning(const std::string& t) { message(MessageKind::Warning, t); }
    void information(const std::string& t) { message(MessageKind::Information, t); }
    void error(const std::string& t) { message(MessageKind::Error, t); }
};

// Reading the answer of an input box that asks for a number: blanks around
// it are ignored; nullopt when it is not a whole number that fits an int.
std::optional<long long> parseWholeNumber(const std::string& text);
// An answer of nothing but blanks counts as no answer.
bool isBlankAnswer(const std::string& text);

// The text of the general error report.
std::string fileErrorText(const std::string& path, const std::string& reason);

// Stand-in for tests: records every message and answers from queues.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        MessageKind kind;
        std::string text;
        bool operator==(const Shown&) const = default;
    };

    std::vector<Shown> shown;
    std::deque<bool> confirmAnswers;
    std::deque<Answer> askAnswers; // Cancel when none is left
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<std::string> inputPrompts; // "caption|prompt" of every input box
    std::vector<std::string> fileFilters;  // filter of every file dialog
    std::vector<std::string> proposedNames;
    int beeps = 0;

    void message(MessageKind kind, const std::string& text) override {
        shown.push_back({kind, text});
    }
    bool confirm(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    std::optional<std::string> openFile(const std::string& filter,
                                        const std::string& initialDir) override;
    std::optional<std::string> saveFile(const std::string& filter, const std::string& proposedName,
                                        const std::string& initialDir) override;
    void fileError(const std::string& path, const std::string& reason) override {
        shown.push_back({MessageKind::Error, fileErrorText(path, reason)});
    }
    void beep() override { ++beeps; }

    // Texts shown so far, and forget them.
    std::vector<std::string> takeTexts();
};

} // namespace sokoban
