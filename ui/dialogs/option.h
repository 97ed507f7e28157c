// TPagesDlg: the options window. Music piece, walking and demonstration
// speeds, background mode, face changes, single-step demonstrations, quiet
// completion, shortest walks and the solver's time limit on two pages; file
// types and shortcuts on the third.
#pragma once

#include "session/dialogs.h"
#include "ui/platform/desktop_integration.h"

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QAbstractButton;

namespace sokoban {

class TMainForm;

// The current user's desktop, with the program's icon from the program
// directory when it is there.
std::unique_ptr<DesktopIntegration> makeUserDesktop(const std::filesystem::path& appDir);

class TPagesDlg : public QDialog {
    Q_OBJECT
  public:
    // dialogs: where messages go; the window's own Qt dialogs when null.
    // programPath: what the file types and shortcuts start; this program when
    // empty.
    TPagesDlg(TMainForm& mainForm, DesktopIntegration& desktop, Dialogs* dialogs = nullptr,
              std::string programPath = {});
    ~TPagesDlg() override;

    // Shows the window, or brings it forward when it is already up.
    void showDialog();

    void FormShow();
    void OKBtnClick();
    void CancelBtnClick();
    void musicClick(int n); // music1Click ... music5Click
    void BitBtn1Click();

    void RegisterFileType(const std::string& extension, const std::string& typeName);
    void UnregisterFileType(const std::string& extension, const std::string& typeName);
    void CreateShortcut(int folderIndex, const std::string& target, const std::string& linkName);
    void DeleteShortcut(int folderIndex, const std::string& target, const std::string& linkName);

    // A control by its name ("music3", "btCreateDesk", "OKBtn", ...).
    QAbstractButton* control(const QString& name) const;
    const std::string& programPath() const { return programPath_; }

  protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void reject() override { CancelBtnClick(); }

  private:
    void buildBasicPage(QWidget* page);
    void buildInstallPage(QWidget* page);
    void buildOtherPage(QWidget* page);
    bool checked(const QString& name) const;
    void setChecked(const QString& name, bool on);
    // The number n of the first selected button prefix1..prefixN, or 0.
    int selected(const QString& prefix, int count) const;
    // Runs desktop work; false after reporting a failed file operation.
    bool desktopWork(const std::function<void()>& work);

    TMainForm& mainForm_;
    DesktopIntegration& desktop_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_;
    std::string programPath_;
};

} // namespace sokoban
