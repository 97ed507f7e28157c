// Tforminfor: what the player should know about the level set in play: its
// file and size, the progress, the current level's records and counters, and
// which levels have a stored answer. Built when shown; not kept up to date.
#pragma once

#include "session/dialogs.h"

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace sokoban {

class GameModel;
class TMainForm;

// The lines of the window for the game in play. A .sol file that cannot be
// read throws FileError; lines already made are in `lines`.
void inforLines(const GameModel& model, std::vector<std::string>& lines);

class Tforminfor : public QDialog {
    Q_OBJECT
  public:
    // dialogs: where a failed read is reported; the window's own when null.
    explicit Tforminfor(TMainForm& mainForm, Dialogs* dialogs = nullptr);
    ~Tforminfor() override;

    // Shows the window, or brings it forward unchanged when it is already up.
    void showDialog();

    void FormShow();
    void Button1Click();

    QPlainTextEdit* memo() const { return memo1_; }
    QString text() const;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    TMainForm& mainForm_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_;
    QPlainTextEdit* memo1_ = nullptr;
};

} // namespace sokoban
