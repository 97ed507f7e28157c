// The real dialogs, on Qt.
#pragma once

#include "dialogs.h"

#include <QString>

class QDialog;
class QWidget;

namespace sokoban {

// "text|pattern|text|pattern" -> "text (pattern);;text (pattern)".
QString qtFilter(const std::string& filter);

// Every dialog is centred on the window of `parent` and stays above it; one
// instance per window that reports, so that each window's messages appear
// over that window.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    // The window the next dialog is centred on.
    QWidget* owner() const;

    void message(MessageKind kind, const std::string& text) override;
    bool confirm(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    std::optional<std::string> openFile(const std::string& filter,
                                        const std::string& initialDir) override;
    std::optional<std::string> saveFile(const std::string& filter, const std::string& proposedName,
                                        const std::string& initialDir) override;
    void fileError(const std::string& path, const std::string& reason) override;
    void beep() override;

  private:
    static void prepare(QDialog& dialog);
    int showBox(int icon, const std::string& text, int buttons, int defaultButton);

    QWidget* parent_;
};

} // namespace sokoban
