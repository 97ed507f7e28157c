// The real dialogs, on Qt.
#pragma once

#include "session/dialogs.h"

#include <QString>

#include <vector>

class QDialog;
class QWidget;

namespace sokoban {

// "text|pattern|text|pattern" -> "text (pattern);;text (pattern)". Patterns
// go to Qt separated by blanks; a text that already shows its patterns in
// parentheses at its end keeps them there instead of showing them twice.
QString qtFilter(const std::string& filter);

// Paths between Qt and the file system: the bytes the system names the file
// with. A name that is not valid in the locale's encoding cannot pass
// through a QString whole, so paths are carried as bytes and only turned
// into text to be shown.
std::string nativePath(const QString& path);
QString shownPath(const std::string& path);

// The flags of the game's small dialogs: a title bar with a close button
// only, no minimise or maximise.
constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Every dialog is centred on the window of `parent` and stays above it; one
// instance per window that reports, so that each window's messages appear
// over that window.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    // The window the next dialog is centred on.
    QWidget* owner() const;

    void message(MessageKind kind, const Message& m) override;
    void message(MessageKind kind, const std::string& text) override;
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
    void beep() override;
    std::string words(const Message& m) const override;

    // Messages given while the game starts (a file from the command line is
    // read before the main window is up) wait, and appear over the window
    // once it is shown: release() shows them in their order. Questions are
    // asked at once.
    void hold() { holding_ = true; }
    void release();

  private:
    struct Held {
        MessageKind kind;
        std::string text;
    };
    bool holding_ = false;
    std::vector<Held> held_;

    static void prepare(QDialog& dialog);
    int showBox(int icon, const std::string& text, int buttons, int defaultButton);

    QWidget* parent_;
};

} // namespace sokoban
