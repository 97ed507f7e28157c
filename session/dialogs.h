// The desktop's dialogs as the game needs them: four kinds of message, the
// one-line input box, file open and save, and the general error report.
// Standard C++ only, so the game model can use it without widgets. The model
// hands over messages (ids with arguments) that the user interface words;
// the windows hand over their own texts.
#pragma once

#include "session/messages.h"
#include "storage/file_error.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace sokoban {

enum class MessageKind { Warning, Information, Error, Confirmation };
enum class Answer { Yes, No, Cancel };

// The general error report of a failed file operation: the path, then the
// reason as a part.
Message fileErrorMessage(const FileError& e);

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A modal message with an OK button.
    virtual void message(MessageKind kind, const Message& m) = 0;
    virtual void message(MessageKind kind, const std::string& text) = 0;
    // Yes/No question; true only for Yes.
    virtual bool confirm(const Message& question) = 0;
    virtual bool confirm(const std::string& text) = 0;
    // Yes/No/Cancel question. Without a Cancel button of its own, a service
    // asks Yes/No.
    virtual Answer askYesNoCancel(const std::string& text) {
        return confirm(text) ? Answer::Yes : Answer::No;
    }
    // One-line input box; nullopt when cancelled.
    virtual std::optional<std::string> inputBox(const Message& caption, const Message& prompt,
                                                const std::string& initial) = 0;
    virtual std::optional<std::string>
    inputBox(const std::string& caption, const std::string& prompt, const std::string& initial) = 0;
    // Filters in the form "text|pattern|text|pattern"; nullopt when cancelled.
    virtual std::optional<std::string> openFile(const Message& filter,
                                                const std::string& initialDir = {}) = 0;
    virtual std::optional<std::string> openFile(const std::string& filter,
                                                const std::string& initialDir = {}) = 0;
    virtual std::optional<std::string> saveFile(const Message& filter,
                                                const std::string& proposedName,
                                                const std::string& initialDir = {}) = 0;
    virtual std::optional<std::string> saveFile(const std::string& filter,
                                                const std::string& proposedName,
                                                const std::string& initialDir = {}) = 0;
    virtual void beep() = 0;
    // A message as the player reads it, for texts that go into files.
    virtual std::string words(const Message& m) const = 0;

    // The general error report of a failed file operation.
    void fileError(const FileError& e) { error(fileErrorMessage(e)); }
    // The same with a reason the window words itself.
    void fileError(const std::string& path, const std::string& reason) {
        error(Message(MessageId::FileOperationFailed, path, reason));
    }

    void warning(const Message& m) { message(MessageKind::Warning, m); }
    void information(const Message& m) { message(MessageKind::Information, m); }
    void error(const Message& m) { message(MessageKind::Error, m); }
    void warning(const std::string& t) { message(MessageKind::Warning, t); }
    void information(const std::string& t) { message(MessageKind::Information, t); }
    void error(const std::string& t) { message(MessageKind::Error, t); }
};

// Reading the answer of an input box that asks for a number: blanks around
// it are ignored; nullopt when it is not a whole number that fits an int.
std::optional<long long> parseWholeNumber(const std::string& text);
// An answer of nothing but blanks counts as no answer.
bool isBlankAnswer(const std::string& text);

// Stand-in for tests: records every message and answers from queues. The
// model's messages are kept as they were given; words() turns them into the
// texts of `shown`, in a form of its own unless a test of the windows words
// them as the player reads them.
class ScriptedDialogs : public Dialogs {
  public:
    struct Shown {
        MessageKind kind;
        std::string text;
        bool operator==(const Shown&) const = default;
    };
    struct Said {
        MessageKind kind;
        Message message;
        bool operator==(const Said&) const = default;
    };

    std::vector<Shown> shown; // every message, as words
    std::vector<Said> said;   // the messages given as messages, questions too
    std::deque<bool> confirmAnswers;
    std::deque<Answer> askAnswers; // Cancel when none is left
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<std::string> inputPrompts; // "caption|prompt" of every input box, as words
    std::vector<std::pair<Message, Message>> inputMessages; // caption and prompt
    std::vector<std::string> fileFilters;                   // filter of every file dialog, as words
    std::vector<Message> filterMessages;
    std::vector<std::string> proposedNames;
    int beeps = 0;

    std::string words(const Message& m) const override;

    void message(MessageKind kind, const Message& m) override;
    void message(MessageKind kind, const std::string& text) override {
        shown.push_back({kind, text});
    }
    bool confirm(const Message& question) override;
    bool confirm(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    std::optional<std::string> inputBox(const Message& caption, const Message& prompt,
                                        const std::string& initial) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    std::optional<std::string> openFile(const Message& filter,
                                        const std::string& initialDir) override;
    std::optional<std::string> openFile(const std::string& filter,
                                        const std::string& initialDir) override;
    std::optional<std::string> saveFile(const Message& filter, const std::string& proposedName,
                                        const std::string& initialDir) override;
    std::optional<std::string> saveFile(const std::string& filter, const std::string& proposedName,
                                        const std::string& initialDir) override;
    void beep() override { ++beeps; }

    // Texts shown so far, and forget them (and the messages).
    std::vector<std::string> takeTexts();
    // Messages given so far, and forget them (and the texts).
    std::vector<Message> takeMessages();
};

} // namespace sokoban
