// TformChange: the level manager. Two level-set files side by side, each as
// a list of its levels; levels move up and down within a file, are deleted,
// or are copied to the end of the other file, straight on disk. The entry
// texts keep the numbers they were given when the list was built until the
// lists are rebuilt. The companion files of a level set are never touched.
#pragma once

#include "storage/records.h"

#include "ui/language.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>

class QLineEdit;
class QListWidget;
class QToolButton;

namespace sokoban {

class BoardPainter;
class Dialogs;
class PreviewImage;

class TformChange : public QDialog {
    Q_OBJECT
  public:
    // Previews with the main window's pictures. dialogs: where messages go;
    // the window's own Qt dialogs when null.
    explicit TformChange(const BoardPainter& painter, Dialogs* dialogs = nullptr,
                         QWidget* parent = nullptr);
    ~TformChange() override;

    // Shows the window, or brings it forward when it is already up.
    void showManager();

    // Commands of one side: 0 is file 1 on the left, 1 is file 2 on the right.
    void LoadFile(int side);          // load1, load2
    void MoveUp(int side);            // up1, up2
    void MoveDown(int side);          // down1, down2
    void DeleteLevel(int side);       // delete1, delete2
    void CopyToOtherSide(int source); // bright (from 0), bleft (from 1)
    void BitBtn3Click();              // rebuild both lists
    void ShowPreview(int side);       // selection changed in a list
    void DrawPreview();

    // --- state, for tests --------------------------------------------------------
    const std::string& fileName(int side) const { return sides_[side].fileName; }
    int count(int side) const { return sides_[side].count; }
    const TMazeData& preview() const { return preview_; }
    QListWidget* listBox(int side) const { return sides_[side].list; }
    QLineEdit* edit(int side) const { return sides_[side].edit; }
    QToolButton* button(const QString& name) const;
    const QImage& previewImage() const;

  private:
    struct Side {
        std::string fileName; // empty while none is loaded
        int count = 0;
        QLineEdit* edit = nullptr;
        QListWidget* list = nullptr;
    };
    QWidget* buildSide(int side);
    QToolButton* addButton(const QString& name, const TrText& hint, const QIcon& icon);
    // Runs a command; a failed file operation ends it with the error report.
    void guarded(const std::function<void()>& command);
    bool fileThere(int side) const;
    void fillList(int side);
    void select(int side, int row); // without previewing
    void swapEntries(int side, int from, int to);

    const BoardPainter& painter_;
    std::unique_ptr<Dialogs> ownDialogs_;
    Dialogs* dialogs_;
    std::array<Side, 2> sides_;
    TMazeData preview_;
    PreviewImage* image1_ = nullptr;
};

} // namespace sokoban
