// TFormSelect: the list of further level-set files (game.lst). Adds and
// removes entries and switches the game to the chosen one. The only window
// that writes game.lst.
#pragma once

#include "session/dialogs.h"

#include <QDialog>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace sokoban {

class TMainForm;

class TFormSelect : public QDialog {
    Q_OBJECT
  public:
    // dialogs: where messages go; the window's own Qt dialogs when null.
    explicit TFormSelect(TMainForm& mainForm, Dialogs* dialogs = nullptr);
    ~TFormSelect() override;

    // Shows the window, or brings it forward when it is already up.
    void showDialog();

    void FormShow();
    void ReadList(); // game.lst into gameList and the list box
    void ListBox1Click();
    void ButtonSelectClick();
    void ButtonAddClick();
    void ButtonDeleteClick();
    void ButtonCancelClick() { hide(); }

    QListWidget* listBox() const { return listBox1_; }
    QLineEdit* edit() const { return edit1_; }
    QPushButton* button(const QString& name) const;
    std::filesystem::path lstFile() const;

    std::vector<std::string> gameList; // the lines of game.lst
    int gameCount = 0;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    // Runs work on game.lst; false after the general error report.
    bool listWork(const std::function<void()>& work);
    void selectLast();

    TMainForm& mainForm_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_;
    QListWidget* listBox1_ = nullptr;
    QLineEdit* edit1_ = nullptr;
};

} // namespace sokoban
