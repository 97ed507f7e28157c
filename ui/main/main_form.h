// The main window: the game on screen. It builds the menus, the tool bar and
// the status bar, owns the board picture and the timers, and hands every
// command to the game model.
#pragma once

#include "session/game_model.h"
#include "ui/main/menu_items.h"
#include "ui/platform/audio/effect_player.h"
#include "ui/platform/audio/music_player.h"
#include "ui/skins/skin.h"
#include "ui/view/board_painter.h"
#include "ui/view/face_random.h"
#include "ui/view/move_animator.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QToolBar;
class QToolButton;

namespace sokoban {

// Image1: shows the board picture and passes keys and mouse to the window.
class BoardImage : public QWidget {
    Q_OBJECT
  public:
    explicit BoardImage(BoardPainter& painter, QWidget* parent = nullptr);
    // A move on its way, drawn over the picture while it runs.
    void setAnimator(const MoveAnimator* animator) { animator_ = animator; }

  signals:
    void keyDown(QKeyEvent* event);
    void mouseDown(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseUp(QMouseEvent* event);

  protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override { emit keyDown(e); }
    void mousePressEvent(QMouseEvent* e) override { emit mouseDown(e); }
    void mouseMoveEvent(QMouseEvent* e) override { emit mouseMove(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { emit mouseUp(e); }
    bool focusNextPrevChild(bool) override { return false; }

  private:
    BoardPainter& painter_;
    const MoveAnimator* animator_ = nullptr;
};

// A panel of the status bar. text() is always the whole text; a panel narrower
// than its text shows it shortened so that it stays readable.
class StatusPanel : public QLabel {
  public:
    using QLabel::QLabel;
    // What the panel shows at its present width.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent*) override;
};

struct MainFormServices {
    Dialogs* dialogs = nullptr;
    EffectPlayer* effects = nullptr; // may be null: silence
    MusicPlayer* music = nullptr;    // may be null: silence
};

class TMainForm : public QMainWindow, public GameView {
    Q_OBJECT
  public:
    // The command line as the system hands it over: a file name is bytes,
    // whatever the locale says.
    TMainForm(std::filesystem::path appDir, std::vector<std::string> arguments,
              MainFormServices services, QWidget* parent = nullptr);
    TMainForm(std::filesystem::path appDir, const QStringList& arguments, MainFormServices services,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // Start-up; run once after construction.
    void FormCreate();

    GameModel& model() { return model_; }
    BoardPainter& painter() { return painter_; }
    // Moves on their way when the player chose animated moves.
    MoveAnimator& animator() { return animator_; }
    const std::filesystem::path& appDir() const { return appDir_; }
    BoardImage* boardImage() const { return image1_; }
    QAction* action(const QString& name) const;
    QToolButton* button(const QString& name) const;
    StatusPanel* statusPanel(int i) const { return panels_[i]; }
    QToolBar* toolBar() const { return toolBar1_; }
    QTimer& timer1() { return timer1_; }
    QTimer& timer2() { return timer2_; }
    QTimer& timer4() { return timer4_; }
    bool musicOn() const { return musicOn_; }

    // --- skins and views ---------------------------------------------------------
    void ChangeFace(int tag);
    void ChangeBoy(int tag);
    void SelectBack(int tag);
    void mLoadBackClick();
    void FormResizeWork();
    void mCustomSizeClick();
    void mShowToolBarClick();
    void mShowToolbarCaptionClick();
    void mShowStatusbarClick();
    void Timer1Timer();
    void RandomFaceNow();
    // Skins from files, offered in the face menu after the ten faces and the
    // custom face. False, with a message and nothing changed, when the skin
    // cannot be read.
    bool ChangeSkin(const QString& fileName);
    // Back to the faces of game.var (choosing a face or the custom face does this).
    void leaveSkin();
    // The skin in use; empty when none.
    QString skinInUse() const { return skinChoice_.fileName; }

    // --- sound and music ----------------------------------------------------------
    void PlayMusic();
    void MediaPlayer1Notify();
    void tbSoundClick();
    void mSoundClick();
    void tbMusicClick();
    void mMusicClick();

    // --- GameView: what the model tells the window -------------------------------------
    void apply(const Events& events) override;
    // Timer2 stops.
    void StopWalking();
    // Sound effects are played (tbSound, mSound).
    bool soundOn() const { return soundOn_; }

    // Where later windows hook in (designer, answers, XSB, dialogs).
    std::function<void()> onShowDesign;

    // The program ends once this window has closed, whatever other window is
    // still open: after the closing work and its messages, never during them.
    void quitWhenClosed() { quitWhenClosed_ = true; }

    // A file from a later start of the game (empty: none). The game comes to
    // the front and opens it as a level set or level text chosen from the
    // menu would be opened; under an open message or dialog, once that is
    // closed.
    void openHandedOver(const std::string& file);
    // The window the player works in comes to the front, restored when
    // minimised.
    void comeForward();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // One event of the model on screen.
    void present(const event::NewBoard&);
    void present(const event::Repaint&) { PaintBoard(); }
    void present(const event::Moved& m);
    void present(const event::Sound& s) { PlayEffect(effectName(s.effect)); }
    void present(const event::Caption& c) { SetCaption(c.text); }
    void present(const event::Status& s) { SetStatusText(s.panel, s.text); }
    void present(const event::Enable& e);
    void present(const event::Demo& d) { SetDemoButtons(d.state); }
    void present(const event::GameItem& g) { SetGameItemChecked(g.item); }
    void present(const event::Walking& w);
    void present(const event::DemoTimer& t) { SetDemoTimer(t.on); }
    void present(const event::DemoInterval& i) { SetDemoInterval(i.interval); }
    void present(const event::Cursor& c) { SetBoardCursor(c.name); }
    void present(const event::RandomFace&) { RandomFaceNow(); }
    void present(const event::Minimise&) { Minimise(); }

    void FitBoard();
    void PaintBoard(); // black, background, every cell
    void DrawCell(int i);
    void DrawMan(int frame);
    void SetCaption(const Message& text);
    // MessageId::None: the panel shows what it shows otherwise.
    void SetStatusText(int panel, const Message& text);
    void showPanel(int panel, const Message& text);
    void SetNextEnabled(bool on);   // tbNextRecord and mNextRecord
    void SetUndoEnabled(bool on);   // tbUndo only
    void SetAnswerEnabled(bool on); // tbLoadAnswer and mLoadAnswer
    void SetDemoButtons(DemoButtons state);
    void SetGameItemChecked(int item);  // 1..5, 0 = none
    void SetManagerEnabled(bool on);    // M1
    void StartWalking(int interval);    // Timer2; 0 keeps the interval
    void SetDemoTimer(bool on);         // Timer4
    void SetDemoInterval(int interval); // Timer4
    void PlayEffect(const std::string& name);
    void SetBoardCursor(const std::string& name);
    void Minimise();

    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    // caption and hint: sources in this window's translation context.
    QAction* addAction(QMenu* menu, const QString& name, const char* caption,
                       const QKeySequence& shortcut = {}, const QStringList& args = {});
    QToolButton* addButton(const QString& name, const char* caption, int image, const char* hint);
    void run(const std::function<void()>& command); // guarded model command
    void FormKeyDown(QKeyEvent* e);
    void FormClose();
    void syncBoard();
    QSize boardArea();
    void storeWindowSize();
    void placeWindow();
    void fitRestoredWindow();
    // True when the picture was made anew (black) for a new size.
    bool sizeBoardPicture();
    void openPendingFiles();
    void openHandedOverFile(const std::string& file);
    void repaintAll();

    std::filesystem::path appDir_;
    std::vector<std::string> arguments_;
    MainFormServices services_;
    GameModel model_;
    BoardPainter painter_;
    MoveAnimator animator_{painter_};
    FaceRandom faceRandom_;

    BoardImage* image1_ = nullptr;
    QToolBar* toolBar1_ = nullptr;
    StatusPanel* panels_[4] = {};
    // What the caption and the panels say, worded again when the language changes.
    std::optional<Message> caption_;
    std::optional<Message> status_[4];
    NamedControls<QAction> actions_;
    NamedControls<QToolButton> buttons_;
    QActionGroup* faceGroup_ = nullptr;
    // Skins from files: the face menu's entries after the custom face, and the choice.
    QMenu* faceMenu_ = nullptr;
    std::vector<QAction*> skinActions_;
    SkinChoice skinChoice_;
    void refreshSkinMenu();
    void restoreSkin();
    void storeSkinChoice();
    QActionGroup* boyGroup_ = nullptr;
    QActionGroup* backGroup_ = nullptr;

    QTimer timer1_; // worker blink
    QTimer timer2_; // walking
    QTimer timer4_; // answer demonstration
    int blink_ = 1;
    int manFrame_ = 2; // the worker frame last drawn: down1 at start
    bool fitting_ = false;
    bool quitWhenClosed_ = false;
    bool soundOn_ = false;
    bool musicOn_ = false;
    std::string musicFile_;
    bool closed_ = false;
    bool created_ = false;
    // Until the window is first shown no one sees the board: the whole-board
    // paints asked for meanwhile come down to one as it is shown.
    bool shown_ = false;
    bool paintPending_ = false;
    bool screenWatched_ = false;
    // Files handed over while a message or dialog was open.
    std::vector<std::string> pendingFiles_;
    QTimer pendingTimer_;
    bool wasMaximized_ = false;
};

} // namespace sokoban
