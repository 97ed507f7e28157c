// TFormXSBViewer: browses the disk for XSB files with a small picture of the
// level in the selected file, and hands the file with "读取" to the main
// window, which plays it, or to the level designer, which loads it into its
// grid (and, unlocked, stores it as a new level) - to whichever window the
// viewer was last opened from.
#pragma once

#include "storage/records.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <memory>
#include <string>

class QComboBox;
class QFileSystemModel;
class QListWidget;
class QPushButton;
class QTreeView;

namespace sokoban {

class Dialogs;
class PreviewImage;
class TFormDesign;
class TMainForm;

class TFormXSBViewer : public QDialog {
    Q_OBJECT
  public:
    // Previews with the main window's pictures and reader. dialogs: where the
    // general error report goes; the window's own Qt dialogs when null.
    TFormXSBViewer(TMainForm& mainForm, TFormDesign& formDesign, Dialogs* dialogs = nullptr,
                   QWidget* parent = nullptr);
    ~TFormXSBViewer() override;

    // The two ways in: they set viewerFromMain and show the window.
    void showFromMain();
    void showFromDesign();

    // Where "读取" delivers: the main window when true, else the designer.
    bool viewerFromMain = true;

    void DriveComboBox1Change();           // another root chosen
    void setFolder(const QString& folder); // the folder tree's choice
    void FilterComboBox1Change();          // another file type chosen
    void FileListBox1Click();              // preview the selected file
    void Button1Click();                   // 读取
    void Button2Click() { close(); }       // 关闭

    // --- state, for tests --------------------------------------------------------
    const TMazeData& preview() const { return preview_; }
    const std::string& xsbFileName() const { return xsbFileName_; }
    QString folder() const { return folder_; }
    QComboBox* driveBox() const { return driveComboBox1_; }
    QTreeView* folderTree() const { return directoryListBox1_; }
    QListWidget* fileList() const { return fileListBox1_; }
    QComboBox* filterBox() const { return filterComboBox1_; }
    QPushButton* button(const QString& name) const;
    const QImage& previewImage() const;

  protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void fillFilters();
    // bringIntoView: scroll the tree to the folder while it fills in; not
    // for a folder the user picked in the tree.
    void chooseFolder(const QString& folder, bool bringIntoView);
    void fillDrives();
    void fillFiles();
    void showCurrentFolder();
    std::string selectedPath() const;

    TMainForm& mainForm_;
    TFormDesign& formDesign_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_;
    TMazeData preview_;
    std::string xsbFileName_;
    QString folder_;
    QElapsedTimer folderChosen_; // since the last choice of a folder or showing

    QComboBox* driveComboBox1_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QTreeView* directoryListBox1_ = nullptr;
    QListWidget* fileListBox1_ = nullptr;
    QComboBox* filterComboBox1_ = nullptr;
    PreviewImage* image1_ = nullptr;
};

} // namespace sokoban
