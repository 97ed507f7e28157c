// The level designer: a window that draws levels cell by cell on the 22 x 34
// grid and stores them as records of a level-set file of its own choosing,
// independent of the set the main window plays. Its palette is TFormItem.
//
// For the XSB viewer, the designer offers four operations and one state:
//   mayDropDesign()      asks before unsaved changes on the grid are lost;
//                        false when the user chose to keep them;
//   btRecordNewClick()   start a new level (as the "新关" button does);
//   LoadXSB(path)        read an XSB file into the grid (the reader's own
//                        messages on refusal, and then false); the file,
//                        recordNo and recordCount stay, so a following save
//                        stores it at recordNo;
//   btRecordSaveClick()  store the grid as level recordNo (as "保存" does),
//                        with the usual check and messages;
//   exchangeEnabled()    whether the hidden level-manager key has unlocked
//                        the designer, which makes the viewer import and
//                        store (new level, LoadXSB, save) instead of only
//                        loading into the grid.
// The viewer is opened from the designer through onShowXsbViewer, which is
// expected to mark the viewer as opened from the designer and show it.
#pragma once

#include "storage/record_file.h"
#include "storage/records.h"
#include "ui/main/menu_items.h"

#include <QImage>
#include <QMainWindow>
#include <functional>
#include <map>
#include <string>

class QAction;
class QLabel;
class QToolBar;
class QToolButton;

namespace sokoban {

class Dialogs;
class SolverRunner;
class TFormItem;
class TMainForm;

// The drawing surface: shows the designer's picture and passes the mouse
// and the keys on. The keyboard's cell cursor is drawn over the picture.
class DesignImage : public QWidget {
    Q_OBJECT
  public:
    explicit DesignImage(const QImage& picture, QWidget* parent = nullptr);

    // The cell the keys work on; an empty rectangle hides it.
    void setKeyCursor(const QRect& cell);
    QRect keyCursor() const { return keyCursor_; }

  signals:
    void mouseDown(QMouseEvent* e);
    void mouseMove(QMouseEvent* e);
    void mouseUp(QMouseEvent* e);
    // Accepted when the designer used the key; otherwise it goes on to the window.
    void keyDown(QKeyEvent* e);
    void focusByKeyboard();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override { emit mouseDown(e); }
    void mouseMoveEvent(QMouseEvent* e) override { emit mouseMove(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { emit mouseUp(e); }
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

  private:
    const QImage& picture_;
    QRect keyCursor_;
};

class TFormDesign : public QMainWindow {
    Q_OBJECT
  public:
    // Draws with the main window's pictures and reports through dialogs.
    TFormDesign(TMainForm& mainForm, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFormDesign() override;

    // The palette is created later than the designer; hand it over once.
    void setPalette(TFormItem* palette);
    TFormItem* palette() const { return palette_; }

    // From the main window: show the designer and the palette, hide the main window.
    void showDesign();

    // --- commands -------------------------------------------------------------------
    void btFileNewClick();
    void btFileOpenClick();
    void menuFileSaveasClick();
    void btRecordPreClick();
    void btRecordGotoClick();
    void btRecordNextClick();
    void tbClearClick();
    void btRecordNewClick();
    void btRecordSaveClick();
    void btRecordDeleteClick();
    void recordSaveAsClick();
    void menuSaveXSBClick();
    bool LoadXSB(const std::string& path);
    bool exchangeEnabled() const;
    // 检查能否过关 (F5): whether the level can be solved, said in a message.
    void checkSolvableClick();
    SolverRunner& solverRunner();
    // Before the grid is replaced: when it holds changes not stored yet, asks
    // whether to store them. Yes stores the level, No drops the changes;
    // false for Cancel and when storing failed, and the caller stays.
    bool mayDropDesign();

    // Where other windows hook in; each may be left empty.
    std::function<void()> onShowManager;   // 关卡管理器
    std::function<void()> onShowXsbViewer; // XSB文件浏览器 (from the designer)
    std::function<void()> onShowHelp;
    std::function<void()> onShowAbout;

    // --- state, for the viewer and for tests -------------------------------------
    const TMazeData& designMaze() const { return designMaze_; }
    int element() const { return element_; }
    bool manShown() const { return manShown_; }
    const std::string& fileName() const { return fileName_; }
    int recordNo() const { return recordNo_; }
    int recordCount() const { return recordCount_; }
    int cellSize() const { return cellSize_; }
    bool modified() const { return modified_; }
    const QImage& image() const { return image_; }
    DesignImage* surface() const { return image1_; }
    QAction* action(const QString& name) const;
    QToolButton* button(const QString& name) const;
    QLabel* statusPanel(int i) const { return panels_[i]; }
    QToolBar* toolBar() const { return toolBar_; }
    const QString& gridCursor() const { return cursorName_; }
    // The keyboard's cell cursor: arrows move it, Space or Enter places the
    // palette's element there, 0 to 6 choose the element.
    int keyCell() const { return keyCell_; }
    bool keyCursorShown() const { return keyCursorShown_; }

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void sizeSurface();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    // caption and hint: sources in the designer's translation context.
    QAction* addAction(QMenu* menu, const QString& name, const char* caption,
                       const QKeySequence& shortcut = {});
    QToolButton* addButton(const QString& name, const char* caption, const QIcon& icon,
                           const char* hint);
    void guarded(const std::function<void()>& command);

    // Mouse on the grid.
    void Image1MouseDown(QMouseEvent* e);
    void Image1MouseMove(QMouseEvent* e);
    void paintAlong(QPoint from, QPoint to);
    void PutCell(int column, int row);

    // The keys on the grid.
    void gridKey(QKeyEvent* e);
    void chooseElement(int element);
    void showKeyCursor(bool shown);
    void showRowAndColumn(int row, int column);

    // Drawing.
    int computeCellSize(int widthAllowance) const;
    void redrawGrid();
    void fillWithGrid(int width, int height);
    void drawCell(int i);
    void drawMan(int i);
    void drawAllCells();
    void setGridCursor(const QString& name);

    // Files and levels.
    RecordFile designFile() const { return RecordFile(fileName_, TMazeData::kSize); }
    bool fileOpen() const;
    void LoadRecord();
    void showPosition();
    void setFileCaption();
    bool designValid();
    bool saveLevel();

    TMainForm& mainForm_;
    Dialogs& dialogs_;
    TFormItem* palette_ = nullptr;
    SolverRunner* solverRunner_ = nullptr;

    TMazeData designMaze_;
    int element_ = 0;
    bool drawing_ = false;
    bool manShown_ = false;
    std::string fileName_;
    int recordCount_ = 0;
    int recordNo_ = 0;
    int cellSize_ = 1;
    int lastCell_ = -1;     // the cell the pointer was in last in this drag
    QPoint lastPos_;        // where the pointer was last in this drag
    bool modified_ = false; // the grid holds changes not stored anywhere
    int keyCell_ = 0;       // the keyboard's cell
    bool keyCursorShown_ = false;

    QImage image_;
    DesignImage* image1_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* panels_[3] = {};
    QString cursorName_;
    NamedControls<QAction> actions_;
    NamedControls<QToolButton> buttons_;
};

} // namespace sokoban
