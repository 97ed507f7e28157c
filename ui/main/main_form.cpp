#include "main_form.h"

#include "session/level_text_play.h"
#include "ui/language.h"
#include "ui/main/assist_menu.h"
#include "ui/main/level_text_menu.h"
#include "ui/main/tool_bar.h"
#include "ui/messages.h"
#include "ui/pictures/pictures.h"
#include "ui/platform/qt_dialogs.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <cctype>

namespace sokoban {

namespace {
// The translation context of the main window's texts, as lupdate names it.
constexpr const char* kContext = "sokoban::TMainForm";

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QSize screenSize() {
    if (auto* s = QGuiApplication::primaryScreen()) return s->size();
    return {1024, 768};
}

// The screen less its panels and docks, in device-independent pixels.
QRect availableArea() {
    if (auto* s = QGuiApplication::primaryScreen()) return s->availableGeometry();
    return {QPoint(0, 0), screenSize()};
}

// The smallest window the game starts with or comes back to: room for the
// tool bar and a board of cells one can still click.
constexpr QSize kUsableSize(640, 480);
// Room for a window manager's title bar and borders, which are not known
// before the window is first shown.
constexpr QMargins kFrameAllowance(4, 40, 4, 4);

// A window as close to `wanted` as fits on the free part of the screen with
// its frame, never smaller than usable, centred there.
QRect windowRect(QSize wanted, const QRect& area) {
    const QSize room = area.size().shrunkBy(kFrameAllowance).expandedTo(QSize(1, 1));
    const QSize size = wanted.expandedTo(kUsableSize).boundedTo(room);
    QRect frame(QPoint(0, 0), size.grownBy(kFrameAllowance));
    frame.moveCenter(area.center());
    return frame.marginsRemoved(kFrameAllowance);
}

bool fileExists(const std::string& p) {
    std::error_code ec;
    return !p.empty() && std::filesystem::is_regular_file(p, ec);
}
} // namespace

// --- Image1 ---------------------------------------------------------------------------

BoardImage::BoardImage(BoardPainter& painter, QWidget* parent)
    : QWidget(parent), painter_(painter) {
    setObjectName("Image1");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardImage::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    // The picture holds the screen's pixels: its part of the area, one to one.
    const QImage& picture = painter_.image();
    const qreal r = picture.devicePixelRatio();
    const QRect a = e->rect();
    p.drawImage(QRectF(a), picture, QRectF(a.x() * r, a.y() * r, a.width() * r, a.height() * r));
    if (animator_ && animator_->running() && animator_->area().intersects(e->rect())) {
        p.setClipRect(e->rect());
        p.drawImage(animator_->area().topLeft(), animator_->frame());
    }
}

// --- status panels --------------------------------------------------------------------

QString StatusPanel::shownText() const {
    const QFontMetrics fm(font());
    const int room = contentsRect().width() - 2 * margin();
    QString t = text();
    if (fm.horizontalAdvance(t) <= room) return t;
    // First the spaces round the star, then the words a narrow panel can do
    // without; the numbers stay.
    t = t.simplified();
    if (fm.horizontalAdvance(t) <= room) return t;
    const auto word = [](const char* source) {
        return QCoreApplication::translate("sokoban::StatusPanel", source);
    };
    t.replace(word(QT_TRANSLATE_NOOP("sokoban::StatusPanel", "当前关卡号：")),
              word(QT_TRANSLATE_NOOP("sokoban::StatusPanel", "关卡：")))
        .replace(word(QT_TRANSLATE_NOOP("sokoban::StatusPanel", "最佳移动：")),
                 word(QT_TRANSLATE_NOOP("sokoban::StatusPanel", "最佳：")))
        .replace(word(QT_TRANSLATE_NOOP("sokoban::StatusPanel", "最佳推动：")),
                 word(QT_TRANSLATE_NOOP("sokoban::StatusPanel", "最佳：")));
    if (fm.horizontalAdvance(t) <= room) return t;
    t.remove(' ');
    if (fm.horizontalAdvance(t) <= room) return t;
    return fm.elidedText(t, Qt::ElideRight, room);
}

void StatusPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    drawFrame(&p);
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&p, r, static_cast<int>(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

// --- construction --------------------------------------------------------------------

namespace {
std::vector<std::string> nativeArguments(const QStringList& arguments) {
    std::vector<std::string> out;
    for (const QString& a : arguments)
        out.push_back(nativePath(a));
    return out;
}
} // namespace

TMainForm::TMainForm(std::filesystem::path appDir, const QStringList& arguments,
                     MainFormServices services, QWidget* parent)
    : TMainForm(std::move(appDir), nativeArguments(arguments), services, parent) {}

TMainForm::TMainForm(std::filesystem::path appDir, std::vector<std::string> arguments,
                     MainFormServices services, QWidget* parent)
    : QMainWindow(parent), appDir_(std::move(appDir)), arguments_(std::move(arguments)),
      services_(services), model_(*this, *services.dialogs) {
    setObjectName("TMainForm");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("推箱子"));
    setWindowIcon(programIcon());
    buildMenus();
    addLevelTextCommands(*this, *services_.dialogs);
    addAssistCommands(*this);
    buildToolBar();
    buildStatusBar();

    auto* central = new QWidget(this);
    central->setObjectName("Panel");
    setCentralWidget(central);
    image1_ = new BoardImage(painter_, central);
    setTr(image1_, TextRole::AccessibleName, kContext, QT_TR_NOOP("关卡画面"));
    image1_->move(0, 0);
    image1_->setAnimator(&animator_);
    animator_.onChanged = [this](const QRect& r) { image1_->update(r); };
    connect(image1_, &BoardImage::keyDown, this, [this](QKeyEvent* e) { FormKeyDown(e); });

    timer1_.setInterval(300);
    connect(&timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
    timer2_.setInterval(70);
    connect(&timer2_, &QTimer::timeout, this, [this] { run([this] { model_.Timer2Timer(); }); });
    timer4_.setInterval(300);
    connect(&timer4_, &QTimer::timeout, this, [this] { run([this] { model_.Timer4Timer(); }); });
    pendingTimer_.setSingleShot(true);
    connect(&pendingTimer_, &QTimer::timeout, this, [this] { openPendingFiles(); });
    connect(image1_, &BoardImage::mouseDown, this, [this](QMouseEvent* e) {
        // The right button alone undoes; with a modifier it is a board click.
        const bool undo = e->buttons() == Qt::RightButton && e->modifiers() == Qt::NoModifier;
        const QPoint p = e->position().toPoint();
        run([this, undo, p] { model_.Image1MouseDown(undo, p.x(), p.y()); });
    });
    connect(image1_, &BoardImage::mouseUp, this, [this](QMouseEvent* e) {
        const QPoint p = e->position().toPoint();
        run([this, p] { model_.Image1MouseUp(p.x(), p.y()); });
    });
    connect(image1_, &BoardImage::mouseMove, this, [this](QMouseEvent* e) {
        const QPoint p = e->position().toPoint();
        model_.Image1MouseMove(p.x(), p.y());
    });
    qApp->installEventFilter(this);
    if (services_.music) services_.music->onNotify = [this] { MediaPlayer1Notify(); };
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
}

QAction* TMainForm::addAction(QMenu* menu, const QString& name, const char* caption,
                              const QKeySequence& shortcut, const QStringList& args) {
    return addNamedItem(actions_, menu, name, {kContext, caption, args}, shortcut);
}

QAction* TMainForm::action(const QString& name) const {
    return findNamed(actions_, name);
}

QToolButton* TMainForm::button(const QString& name) const {
    return findNamed(buttons_, name);
}

void TMainForm::run(const std::function<void()>& command) {
    model_.guarded(command);
}

void TMainForm::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto menu = [](auto* parent, const char* title) {
        QMenu* m = parent->addMenu(QString());
        setTr(m, TextRole::Title, kContext, title);
        return m;
    };

    QMenu* game = menu(bar, QT_TR_NOOP("游戏(&G)"));
    connect(addAction(game, "mUndo", QT_TR_NOOP("撤销(&U)"), QKeySequence("Ctrl+U")),
            &QAction::triggered, this, [this] { run([this] { model_.tbUndoClick(); }); });
    game->addSeparator();
    connect(addAction(game, "mRetryGame", QT_TR_NOOP("重玩(&R)"), QKeySequence("Ctrl+R")),
            &QAction::triggered, this, [this] { run([this] { model_.tbRetryGameClick(); }); });
    game->addSeparator();
    connect(addAction(game, "mPreviousRecord", QT_TR_NOOP("前一关(&P)"), QKeySequence("Ctrl+P")),
            &QAction::triggered, this, [this] { run([this] { model_.tbPreviousRecordClick(); }); });
    connect(addAction(game, "mNextRecord", QT_TR_NOOP("后一关(&N)"), QKeySequence("Ctrl+N")),
            &QAction::triggered, this, [this] { run([this] { model_.tbNextRecordClick(); }); });
    connect(addAction(game, "mSelectRecord", QT_TR_NOOP("选关(&S)"), QKeySequence("Ctrl+S")),
            &QAction::triggered, this, [this] { run([this] { model_.tbSelectRecordClick(); }); });
    game->addSeparator();
    connect(addAction(game, "mLoadAnswer", QT_TR_NOOP("读取答案(&L)"), QKeySequence("Ctrl+L")),
            &QAction::triggered, this, [this] { run([this] { model_.tbLoadAnswerClick(); }); });
    game->addSeparator();
    QMenu* select = menu(game, QT_TR_NOOP("选择游戏(&L)"));
    select->menuAction()->setObjectName("mSelectGame");
    actions_["mSelectGame"] = select->menuAction();
    const char* setNames[] = {QT_TR_NOOP("默认关卡"), QT_TR_NOOP("脑力型"), QT_TR_NOOP("体力型"),
                              QT_TR_NOOP("入门型"), QT_TR_NOOP("不可能完成的任务")};
    for (int i = 1; i <= 5; ++i) {
        auto* a = addAction(select, QString("mselectgame%1").arg(i), setNames[i - 1]);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, i] {
            SetGameItemChecked(model_.checkedGameItem());
            run([this, i] { model_.SelectGames(i); });
        });
    }
    select->addSeparator();
    connect(addAction(select, "N24", QT_TR_NOOP("读取其它游戏")), &QAction::triggered, this,
            [this] { run([this] { model_.N24Click(); }); });
    select->addSeparator();
    addAction(select, "mselectother", QT_TR_NOOP("从列表中选择其它..."));
    game->addSeparator();
    connect(addAction(game, "mShowDesign", QT_TR_NOOP("游戏设计(&M)")), &QAction::triggered, this,
            [this] {
                if (onShowDesign) onShowDesign();
            });
    game->addSeparator();
    connect(addAction(game, "mExit", QT_TR_NOOP("退出(&X)"), QKeySequence("Alt+X")),
            &QAction::triggered, this, [this] { close(); });

    QMenu* progress = menu(bar, QT_TR_NOOP("进度(&R)"));
    QMenu* save = menu(progress, QT_TR_NOOP("保存进度(&S)"));
    progress->addSeparator();
    QMenu* load = menu(progress, QT_TR_NOOP("读取进度(&L)"));
    for (int i = 1; i <= 5; ++i) {
        connect(addAction(save, QString("mSave%1").arg(i), QT_TR_NOOP("进度%1"), {},
                          {QString::number(i)}),
                &QAction::triggered, this, [this, i] { run([this, i] { model_.Gamesave(i); }); });
        connect(addAction(load, QString("mLoad%1").arg(i), QT_TR_NOOP("进度%1"), {},
                          {QString::number(i)}),
                &QAction::triggered, this, [this, i] { run([this, i] { model_.GameLoad(i); }); });
    }

    QMenu* view = menu(bar, QT_TR_NOOP("显示(&V)"));
    auto* a = addAction(view, "mShowToolBar", QT_TR_NOOP("工具栏(&T)"));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this] { mShowToolBarClick(); });
    view->addSeparator();
    a = addAction(view, "mShowToolbarCaption", QT_TR_NOOP("工具栏文字(&C)"));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this] { mShowToolbarCaptionClick(); });
    view->addSeparator();
    a = addAction(view, "mShowStatusbar", QT_TR_NOOP("状态栏(&S)"));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this] { mShowStatusbarClick(); });

    QMenu* tools = menu(bar, QT_TR_NOOP("工具(&T)"));
    a = addAction(tools, "mSound", QT_TR_NOOP("声音提示(&S)"));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this] { mSoundClick(); });
    tools->addSeparator();
    a = addAction(tools, "mMusic", QT_TR_NOOP("背景音乐(&M)"));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this] { mMusicClick(); });
    tools->addSeparator();
    connect(addAction(tools, "mLoadBack", QT_TR_NOOP("更换背景(&W)")), &QAction::triggered, this,
            [this] { mLoadBackClick(); });
    tools->addSeparator();
    addAction(tools, "mCustomFengge", QT_TR_NOOP("自定义界面(&F)"));
    tools->addSeparator();
    a = addAction(tools, "mCustomSize", QT_TR_NOOP("界面大小自动变化"));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this] { mCustomSizeClick(); });
    tools->addSeparator();
    addAction(tools, "mConvert", QT_TR_NOOP("转换1.25版本以前的游戏文件"));
    tools->addSeparator();
    addAction(tools, "mInfo", QT_TR_NOOP("游戏信息(&I)"));
    tools->addSeparator();
    addAction(tools, "mOption", QT_TR_NOOP("选项(&O)"));

    QMenu* other = menu(bar, QT_TR_NOOP("其它(&O)"));
    connect(addAction(other, "mAnswerOut", QT_TR_NOOP("导出答案(&O)")), &QAction::triggered, this,
            [this] { run([this] { model_.mAnswerOutClick(); }); });
    connect(addAction(other, "mAnswerOutAll", QT_TR_NOOP("批量导出答案")), &QAction::triggered,
            this, [this] { run([this] { model_.mAnswerOutAllClick(); }); });
    connect(addAction(other, "mAnswerIn", QT_TR_NOOP("导入答案(&I)")), &QAction::triggered, this,
            [this] { run([this] { model_.mAnswerInClick(); }); });
    other->addSeparator();
    connect(addAction(other, "mSaveToXSB", QT_TR_NOOP("存为XSB文件(&S)")), &QAction::triggered,
            this, [this] { run([this] { model_.mSaveToXSBClick(); }); });
    other->addSeparator();
    addAction(other, "mXSBViewer", QT_TR_NOOP("XSB文件浏览器(&V)"));
    other->addSeparator();
    addAction(other, "M1", QT_TR_NOOP("关卡管理器(&M)"))->setEnabled(false);

    QMenu* help = menu(bar, QT_TR_NOOP("帮助(&H)"));
    addAction(help, "mHelp", QT_TR_NOOP("内容(&C)"), QKeySequence("F1"));
    help->addSeparator();
    addAction(help, "mMailTo", QT_TR_NOOP("联系作者(&E)"));
    addAction(help, "mHomePage", QT_TR_NOOP("作者主页(&W)"));
    help->addSeparator();
    addAction(help, "mAbout", QT_TR_NOOP("关于(&A)"));

    // A menu closed with Esc leaves the menu bar holding the keys; the player
    // is back at the board, so the board gets them back.
    for (QAction* top : bar->actions())
        if (QMenu* m = top->menu())
            connect(m, &QMenu::aboutToHide, this, [this] {
                QTimer::singleShot(0, this, [this] {
                    if (menuBar()->hasFocus() && !QApplication::activePopupWidget() && image1_)
                        image1_->setFocus();
                });
            });

    // The drop-down menus of the face, figure and background buttons.
    auto* faceMenu = new QMenu(this);
    faceMenu->setObjectName("PopupMenuFace");
    faceMenu_ = faceMenu;
    faceGroup_ = new QActionGroup(this);
    for (int i = 1; i <= 11; ++i) {
        auto* f = addAction(faceMenu, QString("fengge%1").arg(i),
                            i <= 10 ? QT_TR_NOOP("界面风格%1") : QT_TR_NOOP("自定义界面"), {},
                            {QString::number(i)});
        f->setCheckable(true);
        faceGroup_->addAction(f);
        connect(f, &QAction::triggered, this, [this, i] { ChangeFace(i); });
    }
    // Skins from files: the folders are looked at again each time the menu opens.
    faceMenu->addSeparator();
    connect(faceMenu, &QMenu::aboutToShow, this, [this] { refreshSkinMenu(); });
    auto* manMenu = new QMenu(this);
    manMenu->setObjectName("PopupMenuMan");
    boyGroup_ = new QActionGroup(this);
    for (int i = 1; i <= 6; ++i) {
        auto* b = addAction(manMenu, QString("boy%1").arg(i), QT_TR_NOOP("人物%1"), {},
                            {QString::number(i)});
        b->setCheckable(true);
        boyGroup_->addAction(b);
        connect(b, &QAction::triggered, this, [this, i] { ChangeBoy(i); });
    }
    auto* backMenu = new QMenu(this);
    backMenu->setObjectName("PopupMenu1");
    backGroup_ = new QActionGroup(this);
    for (int i = 1; i <= 7; ++i) {
        auto* b = addAction(backMenu, QString("back%1").arg(i),
                            i <= 6 ? QT_TR_NOOP("背景%1") : QT_TR_NOOP("当前墙壁"), {},
                            {QString::number(i)});
        b->setCheckable(true);
        backGroup_->addAction(b);
        connect(b, &QAction::triggered, this, [this, i] { SelectBack(i); });
    }
    faceMenu->setParent(this, Qt::Popup);
    faceGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    boyGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    backGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    actions_["PopupMenuFace"] = faceMenu->menuAction();
    actions_["PopupMenuMan"] = manMenu->menuAction();
    actions_["PopupMenu1"] = backMenu->menuAction();
}

QToolButton* TMainForm::addButton(const QString& name, const char* caption, int image,
                                  const char* hint) {
    auto* b = addToolBarButton(toolBar1_, name, {kContext, caption}, toolbarIcon(image),
                               {kContext, hint});
    buttons_[name] = b;
    return b;
}

void TMainForm::buildToolBar() {
    toolBar1_ = addGameToolBar(this, {kContext, QT_TR_NOOP("工具栏")});

    connect(addButton("tbPreviousRecord", QT_TR_NOOP("前一关"), 0, QT_TR_NOOP("到前一关")),
            &QToolButton::clicked, this,
            [this] { run([this] { model_.tbPreviousRecordClick(); }); });
    connect(addButton("tbSelectRecord", QT_TR_NOOP("选关"), 1, QT_TR_NOOP("选择关卡")),
            &QToolButton::clicked, this, [this] { run([this] { model_.tbSelectRecordClick(); }); });
    connect(addButton("tbNextRecord", QT_TR_NOOP("后一关"), 3, QT_TR_NOOP("到后一关")),
            &QToolButton::clicked, this, [this] { run([this] { model_.tbNextRecordClick(); }); });
    toolBar1_->addSeparator();
    connect(addButton("tbRetryGame", QT_TR_NOOP("重玩"), 2, QT_TR_NOOP("重玩本关")),
            &QToolButton::clicked, this, [this] { run([this] { model_.tbRetryGameClick(); }); });
    connect(addButton("tbLoadAnswer", QT_TR_NOOP("答案"), 4, QT_TR_NOOP("演示答案")),
            &QToolButton::clicked, this, [this] { run([this] { model_.tbLoadAnswerClick(); }); });
    toolBar1_->addSeparator();
    connect(addButton("tbUndo", QT_TR_NOOP("撤销"), 5, QT_TR_NOOP("撤销到上一次推箱子之前")),
            &QToolButton::clicked, this, [this] { run([this] { model_.tbUndoClick(); }); });
    auto* hint = addButton("tbHint", QT_TR_NOOP("提示"), -1, QT_TR_NOOP("提示：电脑替你推一步"));
    hint->setIcon(hintIcon());
    connect(hint, &QToolButton::clicked, this, [this] { run([this] { model_.mHintClick(); }); });
    toolBar1_->addSeparator();
    auto* sound = addButton("tbSound", QT_TR_NOOP("声音"), 6, QT_TR_NOOP("声音提示"));
    sound->setCheckable(true);
    sound->setChecked(true);
    connect(sound, &QToolButton::clicked, this, [this] { tbSoundClick(); });
    auto* music = addButton("tbMusic", QT_TR_NOOP("音乐"), 7, QT_TR_NOOP("打开音乐"));
    music->setCheckable(true);
    music->setChecked(true);
    connect(music, &QToolButton::clicked, this, [this] { tbMusicClick(); });

    auto dropDown = [this](QToolButton* b, const QString& menuName) {
        b->setMenu(qobject_cast<QMenu*>(findChild<QMenu*>(menuName)));
        b->setPopupMode(QToolButton::MenuButtonPopup);
        b->setFixedSize(55, 35);
    };
    dropDown(addButton("tbSelectBoy", QT_TR_NOOP("人物"), 8, QT_TR_NOOP("选择搬运工图像")),
             "PopupMenuMan");
    auto* face = addButton("tbSelectFengge", QT_TR_NOOP("界面"), 9, QT_TR_NOOP("选择游戏界面"));
    dropDown(face, "PopupMenuFace");
    auto* back = addButton("tbLoadBack", QT_TR_NOOP("背景"), 10, QT_TR_NOOP("选择或者读入背景"));
    dropDown(back, "PopupMenu1");
    connect(back, &QToolButton::clicked, this, [this] { mLoadBackClick(); });
    // The face and figure buttons open their menus when pressed.
    for (auto* b : {buttons_["tbSelectBoy"], face})
        connect(b, &QToolButton::clicked, b, &QToolButton::showMenu);
    toolBar1_->addSeparator();
    connect(addButton("tbShowDesign", QT_TR_NOOP("设计"), 11, QT_TR_NOOP("游戏及关卡设计")),
            &QToolButton::clicked, this, [this] {
                if (onShowDesign) onShowDesign();
            });
    toolBar1_->addSeparator();
    connect(addButton("tbExit", QT_TR_NOOP("退出"), 12, QT_TR_NOOP("退出游戏")),
            &QToolButton::clicked, this, [this] { close(); });
}

void TMainForm::buildStatusBar() {
    auto* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    // The panels keep their widths while the window has room for them and
    // shrink in proportion below that, each showing what fits of its text.
    const int widths[4] = {140, 185, 185, 50};
    for (int i = 0; i < 4; ++i) {
        auto* l = new StatusPanel(bar);
        l->setObjectName(QString("Panel%1").arg(i));
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        if (i < 3) {
            l->setMaximumWidth(widths[i]);
            l->setAlignment(Qt::AlignCenter);
            l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        } else {
            l->setFrameStyle(QFrame::NoFrame);
        }
        bar->addWidget(l, widths[i]);
        panels_[i] = l;
    }
    setTr(panels_[3], kContext, QT_TR_NOOP("  推箱子 · 把每一个箱子推到目标上"));
}

// --- start-up -----------------------------------------------------------------------------

void TMainForm::FormCreate() {
    // 1. cursor and tool tips
    image1_->setCursor(gameCursor("go"));

    // 2-4. program directory, undo file, settings
    model_.setAppDir(appDir_);
    const std::string dir = dirPrefix(appDir_);
    model_.setGameFile(dir + "game.box");
    const QSize screen = screenSize();
    const FilePlaces places(appDir_);
    places.removeStaleUndoFiles();
    run([this] { model_.undoFile().create(); });
    try {
        model_.settings() = loadSettings(places.settingsFile(), screen.width(), screen.height());
    } catch (const FileError& e) {
        services_.dialogs->fileError(e);
        model_.settings() = defaultSettings(screen.width(), screen.height());
    }
    loadAssistOptions(*this);
    TGameVar& s = model_.settings();

    // 5. working values out of the settings
    painter_.backStyle = s.backStyle;
    soundOn_ = s.soundFlag == 1;
    button("tbSound")->setChecked(soundOn_);
    action("mSound")->setChecked(soundOn_);
    musicOn_ = s.musicFlag == 1;
    button("tbMusic")->setChecked(musicOn_);
    action("mMusic")->setChecked(musicOn_);

    // 6-7
    action("mCustomSize")->setChecked(s.fixedSize == 0);
    blink_ = 1;

    // 8. window size
    placeWindow();

    // 9. tool bar, status bar, captions
    toolBar1_->setVisible(s.hideToolbar == 0);
    action("mShowToolBar")->setChecked(s.hideToolbar == 0);
    statusBar()->setVisible(s.hideStatusbar == 0);
    action("mShowStatusbar")->setChecked(s.hideStatusbar == 0);
    const bool captions = s.hideCaptions != 1;
    for (auto& [name, b] : buttons_) {
        b->setToolButtonStyle(captions ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
        if (!captions) b->setFixedHeight(22);
    }
    action("mShowToolbarCaption")->setChecked(captions);

    // 10-11. board picture and the stored look; the picture gets the size
    // of the board area when the window is shown
    painter_.resize(1, 1);
    painter_.backFileName.clear();
    painter_.cells = &model_.cells();
    if (s.faceStyle >= 1 && s.faceStyle <= 11) ChangeFace(s.faceStyle);
    if (s.backNo >= 1 && s.backNo <= 7) SelectBack(s.backNo);
    if (s.figureNo >= 1 && s.figureNo <= 6) ChangeBoy(s.figureNo);
    restoreSkin();
    PlayMusic();

    // 12. a level set from the list
    int choice = s.levelSet;
    if (choice > 5) {
        const std::string entry = gameListEntry(places.listFile(), choice);
        if (entry.empty() || !fileExists(entry)) {
            choice = 1;
            if (!entry.empty()) model_.setGameFile(entry);
        } else {
            model_.setGameFile(entry);
        }
    }

    // 13-14. the command line, or the stored choice
    const auto openStoredChoice = [this, choice] {
        if (choice <= 5) {
            run([this, choice] { model_.SelectGames(choice); });
        } else {
            run([this] {
                if (model_.OpenGame()) model_.ReadRecord(model_.curLevel());
            });
        }
    };
    const auto isBoxFile = [](const std::string& path) {
        if (path.size() < 4) return false;
        std::string ext = path.substr(path.size() - 4);
        for (char& c : ext)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return ext == ".BOX";
    };
    const std::string arg = arguments_.size() > 1 ? arguments_[1] : std::string();
    if (arg.empty()) {
        openStoredChoice();
    } else {
        const std::string stored = model_.gameFile();
        model_.setGameFile(arg);
        if (isLevelTextFile(arg)) {
            model_.setXsbFile(arg);
            run([this] {
                LevelTextCommands(model_, *services_.dialogs).openFile(model_.xsbFile());
            });
        } else if (isBoxFile(arg)) {
            run([this] {
                if (model_.OpenGame()) model_.ReadRecord(model_.curLevel());
            });
        }
        // A file that gives no level leaves the board to the stored choice,
        // after its message, rather than to an empty window.
        if (model_.mazeWidth() == 0) {
            model_.setGameFile(stored);
            model_.setXsbFile({});
            openStoredChoice();
        }
    }
    created_ = true;
    timer1_.start();
    image1_->setFocus();
}

// --- GameView -------------------------------------------------------------------------------

void TMainForm::apply(const Events& events) {
    for (const Event& e : events)
        std::visit([this](const auto& ev) { present(ev); }, e);
}

void TMainForm::present(const event::NewBoard&) {
    FitBoard();
    PaintBoard();
}

void TMainForm::present(const event::Moved& m) {
    for (int i : m.cells)
        DrawCell(i);
    // The box's old cell is the worker's new one when he pushed it; he is
    // drawn over it last.
    for (int i : {m.boxTo, m.boxFrom, m.workerFrom})
        if (model_.position().contains(i)) DrawCell(i);
    DrawMan(m.facing);
    // The picture stands as the model does; the way there is drawn over it.
    if (model_.playOptions().animate == 1 && shown_)
        animator_.start({m.workerFrom, m.workerTo, m.boxFrom, m.boxTo, m.facing});
    else
        animator_.finish();
}

void TMainForm::present(const event::Enable& e) {
    switch (e.control) {
    case Control::Next:
        SetNextEnabled(e.on);
        break;
    case Control::Undo:
        SetUndoEnabled(e.on);
        break;
    case Control::Answer:
        SetAnswerEnabled(e.on);
        break;
    case Control::Manager:
        SetManagerEnabled(e.on);
        break;
    }
}

void TMainForm::present(const event::Walking& w) {
    if (w.on)
        StartWalking(w.interval);
    else
        StopWalking();
}

void TMainForm::syncBoard() {
    painter_.cells = &model_.cells();
    painter_.cols = model_.cols();
    painter_.manPos = model_.manPos();
    painter_.layout = model_.layout();
    painter_.manFrame = model_.mazeWidth() > 0 ? manFrame_ : -1;
    painter_.deadMarks = model_.playOptions().markDead ? &model_.deadSquares().marks() : nullptr;
    const QSize area = centralWidget()->size();
    painter_.visibleArea = QRect(QPoint(0, 0), area);
}

QSize TMainForm::boardArea() {
    // Lay the window out first: at start-up it has not been shown yet, and
    // after the tool bar was hidden the layout has not caught up.
    if (QLayout* l = layout()) l->activate();
    return centralWidget()->size();
}

void TMainForm::FitBoard() {
    animator_.finish();
    // The board fills the part of the window between the tool bar and the
    // status bar as it really is. fitBoard's allowances of 8 and 65 pixels
    // stand for a frame, menu and status bar that are not part of this area.
    const QSize area = boardArea();
    model_.setLayout(fitBoard(area.width() + 8, area.height() + 65, 0, model_.mazeWidth(),
                              model_.mazeHeight(), model_.settings().fixedSize == 1));
    syncBoard();
}

void TMainForm::PaintBoard() {
    repaintAll();
}

void TMainForm::DrawCell(int i) {
    syncBoard();
    painter_.DrawCell(i);
    const auto& l = model_.layout();
    const int cols = model_.cols();
    image1_->update((i % cols + l.originCol) * l.cellSize, (i / cols + l.originRow) * l.cellSize,
                    l.cellSize, l.cellSize);
}

void TMainForm::DrawMan(int frame) {
    manFrame_ = frame;
    syncBoard();
    painter_.DrawMan(frame);
    const auto& l = model_.layout();
    const int i = model_.manPos(), cols = model_.cols();
    image1_->update((i % cols + l.originCol) * l.cellSize, (i / cols + l.originRow) * l.cellSize,
                    l.cellSize, l.cellSize);
}

void TMainForm::SetCaption(const Message& text) {
    caption_ = text;
    clearTr(this, TextRole::WindowTitle);
    setWindowTitle(messageText(text));
    // A level with a title shows it in the last panel.
    showPanel(3, LevelTextCommands::titlePanel(model_));
}

void TMainForm::SetStatusText(int panel, const Message& text) {
    // The last panel without a text of its own shows the level's title.
    if (panel == 3 && text.id == MessageId::None) {
        showPanel(3, LevelTextCommands::titlePanel(model_));
        return;
    }
    if (panel >= 0 && panel < 4) showPanel(panel, text);
}

void TMainForm::showPanel(int panel, const Message& text) {
    status_[panel] = text;
    clearTr(panels_[panel], TextRole::Text);
    panels_[panel]->setText(messageText(text));
}

void TMainForm::SetNextEnabled(bool on) {
    button("tbNextRecord")->setEnabled(on);
    action("mNextRecord")->setEnabled(on);
}

void TMainForm::SetUndoEnabled(bool on) {
    button("tbUndo")->setEnabled(on);
}

void TMainForm::SetAnswerEnabled(bool on) {
    button("tbLoadAnswer")->setEnabled(on);
    action("mLoadAnswer")->setEnabled(on);
}

void TMainForm::SetDemoButtons(DemoButtons state) {
    auto* answer = button("tbLoadAnswer");
    auto* retry = button("tbRetryGame");
    switch (state) {
    case DemoButtons::Idle:
        setTr(answer, kContext, QT_TR_NOOP("答案"));
        answer->setIcon(toolbarIcon(4));
        setTr(action("mLoadAnswer"), kContext, QT_TR_NOOP("读取答案"));
        setTr(retry, kContext, QT_TR_NOOP("重玩"));
        retry->setIcon(toolbarIcon(2));
        setTr(action("mRetryGame"), kContext, QT_TR_NOOP("重玩"));
        break;
    case DemoButtons::Running:
        setTr(answer, kContext, QT_TR_NOOP("暂停"));
        answer->setIcon(toolbarIcon(14));
        setTr(action("mLoadAnswer"), kContext, QT_TR_NOOP("暂停演示"));
        setTr(retry, kContext, QT_TR_NOOP("停止"));
        retry->setIcon(toolbarIcon(13));
        setTr(action("mRetryGame"), kContext, QT_TR_NOOP("停止演示"));
        break;
    case DemoButtons::Paused:
        setTr(answer, kContext, QT_TR_NOOP("继续"));
        answer->setIcon(toolbarIcon(15));
        setTr(action("mLoadAnswer"), kContext, QT_TR_NOOP("继续演示"));
        setTr(retry, kContext, QT_TR_NOOP("停止"));
        retry->setIcon(toolbarIcon(13));
        setTr(action("mRetryGame"), kContext, QT_TR_NOOP("停止演示"));
        break;
    }
}

void TMainForm::SetGameItemChecked(int item) {
    for (int i = 1; i <= 5; ++i)
        action(QString("mselectgame%1").arg(i))->setChecked(i == item);
}

void TMainForm::SetManagerEnabled(bool on) {
    action("M1")->setEnabled(on);
}

void TMainForm::StopWalking() {
    timer2_.stop();
}

void TMainForm::StartWalking(int interval) {
    if (interval > 0) timer2_.setInterval(interval);
    timer2_.start();
}

void TMainForm::SetDemoTimer(bool on) {
    if (on)
        timer4_.start();
    else
        timer4_.stop();
}

void TMainForm::SetDemoInterval(int interval) {
    timer4_.setInterval(interval);
}

void TMainForm::PlayEffect(const std::string& name) {
    if (soundOn_ && services_.effects) services_.effects->play(name);
}

void TMainForm::SetBoardCursor(const std::string& name) {
    image1_->setCursor(gameCursor(q(name)));
}

void TMainForm::Minimise() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

// --- skins ----------------------------------------------------------------------------------

void TMainForm::ChangeFace(int tag) {
    if (tag < 1 || tag > 11) return;
    TGameVar& s = model_.settings();
    s.faceStyle = static_cast<std::uint8_t>(tag);
    leaveSkin();
    action(QString("fengge%1").arg(tag))->setChecked(true);
    if (tag == 11)
        painter_.LoadFace(s.customWall, s.customFloor, s.customBox);
    else
        painter_.LoadFace(tag, tag, tag);
    syncBoard();
    animator_.finish();
    painter_.DrawBoard();
    image1_->update();
}

void TMainForm::RandomFaceNow() {
    TGameVar& s = model_.settings();
    if (s.randomFace != 1) return;
    if (s.randomCombo == 0) {
        const auto n = static_cast<std::uint8_t>(faceRandom_.face());
        s.customWall = s.customFloor = s.customBox = n;
    } else {
        s.customWall = static_cast<std::uint8_t>(faceRandom_.face());
        s.customFloor = static_cast<std::uint8_t>(faceRandom_.face());
        s.customBox = static_cast<std::uint8_t>(faceRandom_.face());
    }
    ChangeFace(11);
}

void TMainForm::ChangeBoy(int tag) {
    if (tag < 1 || tag > 6) return;
    model_.settings().figureNo = static_cast<std::uint8_t>(tag);
    action(QString("boy%1").arg(tag))->setChecked(true);
    animator_.finish();
    painter_.LoadFigure(tag);
    // On a skin the figure replaces the skin's own worker, and stays so.
    if (!skinChoice_.fileName.isEmpty() && skinChoice_.figure != tag) {
        skinChoice_.figure = tag;
        storeSkinChoice();
    }
}

// --- skins from files -------------------------------------------------------------------

void TMainForm::refreshSkinMenu() {
    // The menu may be rebuilt from one of its own actions: they go once it returns.
    for (QAction* a : skinActions_) {
        faceGroup_->removeAction(a);
        faceMenu_->removeAction(a);
        a->setObjectName({});
        a->deleteLater();
    }
    skinActions_.clear();
    for (const SkinFile& f : findSkins(skinFolders(appDir_))) {
        auto* a = faceMenu_->addAction(skinMenuName(f));
        a->setObjectName("skin:" + f.fileName);
        a->setCheckable(true);
        a->setChecked(f.fileName == skinChoice_.fileName);
        faceGroup_->addAction(a);
        const QString name = f.fileName;
        connect(a, &QAction::triggered, this, [this, name] { ChangeSkin(name); });
        skinActions_.push_back(a);
    }
}

bool TMainForm::ChangeSkin(const QString& fileName) {
    SkinLoad load;
    load.problem = SkinProblem::Missing;
    load.file = fileName;
    for (const SkinFile& f : findSkins(skinFolders(appDir_)))
        if (f.fileName == fileName) load = loadSkin(f.picture);
    if (!load.skin) {
        services_.dialogs->error(skinProblemText(load).toStdString());
        // The menu's check goes back to what is on the board.
        refreshSkinMenu();
        if (skinChoice_.fileName.isEmpty()) {
            const int face = model_.settings().faceStyle;
            if (face >= 1 && face <= 11) action(QString("fengge%1").arg(face))->setChecked(true);
        }
        return false;
    }
    const bool sameSkin = skinChoice_.fileName == fileName;
    skinChoice_.fileName = fileName;
    if (!sameSkin) skinChoice_.figure = 0;
    painter_.LoadSkin(*load.skin, skinChoice_.figure == 0);
    if (skinChoice_.figure != 0) painter_.LoadFigure(skinChoice_.figure);
    storeSkinChoice();
    refreshSkinMenu();
    syncBoard();
    animator_.finish();
    painter_.DrawBoard();
    image1_->update();
    return true;
}

void TMainForm::leaveSkin() {
    if (skinChoice_.fileName.isEmpty()) return;
    skinChoice_ = {};
    storeSkinChoice();
    refreshSkinMenu();
    const int figure = model_.settings().figureNo;
    if (figure >= 1 && figure <= 6) painter_.LoadFigure(figure);
}

void TMainForm::restoreSkin() {
    const SkinChoice stored = loadSkinChoice(appDir_);
    if (stored.fileName.isEmpty()) return;
    skinChoice_ = stored;
    if (!ChangeSkin(stored.fileName)) {
        // Told once: the faces of game.var stay, and the next start asks nothing.
        skinChoice_ = {};
        storeSkinChoice();
    }
}

void TMainForm::storeSkinChoice() {
    try {
        saveSkinChoice(appDir_, skinChoice_);
    } catch (const FileError& e) {
        services_.dialogs->fileError(e);
    }
}

void TMainForm::SelectBack(int tag) {
    if (tag < 1 || tag > 7) return;
    painter_.backFileName.clear();
    painter_.backNo = tag;
    model_.settings().backNo = static_cast<std::uint8_t>(tag);
    action(QString("back%1").arg(tag))->setChecked(true);
    painter_.LoadBack(tag);
    // From black up, so nothing of the old background stays round a centred one.
    repaintAll();
}

void TMainForm::mLoadBackClick() {
    const auto chosen = services_.dialogs->openFile("Bitmaps (*.bmp)|*.bmp");
    if (!chosen) return;
    QImage picture(q(*chosen));
    if (picture.isNull()) {
        // The background stays as it was.
        services_.dialogs->fileError(*chosen, tr("无法读取图片文件。").toStdString());
        return;
    }
    painter_.backFileName = q(*chosen);
    syncBoard();
    painter_.FillBlack();
    painter_.DrawBackground(picture);
    animator_.finish();
    painter_.DrawBoard();
    image1_->update();
}

void TMainForm::resizeEvent(QResizeEvent* e) {
    // The board follows the board area's own resize (see eventFilter), which
    // also comes when the tool bar or the status bar is hidden.
    QMainWindow::resizeEvent(e);
    storeWindowSize();
}

void TMainForm::placeWindow() {
    const TGameVar& s = model_.settings();
    const QSize screen = screenSize();
    const QRect area = availableArea();
    if (s.windowWidth < screen.width() || s.windowHeight < screen.height()) {
        setGeometry(windowRect(QSize(s.windowWidth, s.windowHeight), area));
    } else {
        // At its full size from the first frame on, also where no window
        // manager is there to maximise it; within the frame when the
        // platform knows it already.
        const QWindow* w = windowHandle();
        setGeometry(area.marginsRemoved(w ? w->frameMargins() : QMargins()));
        setWindowState(windowState() | Qt::WindowMaximized);
        wasMaximized_ = true;
    }
}

void TMainForm::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::LanguageChange) {
        // The texts made of the game's state, in the new words.
        if (caption_) setWindowTitle(messageText(*caption_));
        for (int i = 0; i < 4; ++i)
            if (status_[i]) panels_[i]->setText(messageText(*status_[i]));
        return;
    }
    if (e->type() != QEvent::WindowStateChange || isMinimized()) return;
    const bool maximized = isMaximized() || isFullScreen();
    // The size it comes back to is the window manager's: look once it has
    // been given.
    if (wasMaximized_ && !maximized) QTimer::singleShot(0, this, [this] { fitRestoredWindow(); });
    wasMaximized_ = maximized;
}

void TMainForm::fitRestoredWindow() {
    if (isMaximized() || isFullScreen() || isMinimized()) return;
    // A window that started maximised has no smaller size of its own: it
    // would come back covering the whole screen, or at the size it had
    // before it was first laid out. Three quarters of the screen instead.
    const QRect area = availableArea();
    const QRect frame = frameGeometry();
    const bool fills = frame.width() >= area.width() && frame.height() >= area.height();
    const bool usable = width() >= std::min(kUsableSize.width(), area.width()) &&
                        height() >= std::min(kUsableSize.height(), area.height());
    if (area.contains(frame) && usable && !fills) return;
    setGeometry(windowRect(area.size() * 3 / 4, area));
}

bool TMainForm::sizeBoardPicture() {
    // The picture covers the board area, not the screen: it follows the
    // window as it grows and shrinks.
    const QSize area = boardArea().expandedTo(QSize(1, 1));
    image1_->resize(area);
    const qreal ratio = image1_->devicePixelRatioF();
    if (painter_.size() == area && painter_.image().devicePixelRatio() == ratio) return false;
    painter_.devicePixelRatio = ratio;
    painter_.resize(area.width(), area.height());
    return true;
}

void TMainForm::storeWindowSize() {
    // The size inside the frame, which is what resize() gives back at the next
    // start. A maximised window is stored as the screen's size, so that it
    // starts maximised again; a minimised one keeps the size it had.
    if (isMinimized()) return;
    const QSize size = isMaximized() ? screenSize() : this->size();
    model_.settings().windowWidth = static_cast<std::int16_t>(size.width());
    model_.settings().windowHeight = static_cast<std::int16_t>(size.height());
}

void TMainForm::repaintAll() {
    // Whatever is on its way ends where the model stands.
    animator_.finish();
    if (!shown_) {
        paintPending_ = true;
        return;
    }
    syncBoard();
    painter_.PaintAll();
    image1_->update();
}

void TMainForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    shown_ = true;
    // Another screen may have another scale: the picture is made anew for it.
    if (QWindow* w = windowHandle(); w && !screenWatched_) {
        screenWatched_ = true;
        connect(w, &QWindow::screenChanged, this,
                [this] { QTimer::singleShot(0, this, [this] { FormResizeWork(); }); });
    }
    const bool resized = sizeBoardPicture();
    if (resized && model_.mazeWidth() != 0 && model_.mazeHeight() != 0 &&
        model_.layout().cellSize != 0)
        FitBoard();
    if (paintPending_ || resized) {
        paintPending_ = false;
        repaintAll();
    }
}

void TMainForm::comeForward() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    // A message or dialog that waits for the player, or the window shown
    // instead of this one (the designer).
    QWidget* front = QApplication::activeModalWidget();
    if (!front && isVisible()) front = this;
    if (!front) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowType() == Qt::Window) front = w;
    }
    if (!front) return;
    if (front->isMinimized()) front->setWindowState(front->windowState() & ~Qt::WindowMinimized);
    front->raise();
    front->activateWindow();
}

void TMainForm::openHandedOver(const std::string& file) {
    comeForward();
    if (file.empty()) return;
    pendingFiles_.push_back(file);
    openPendingFiles();
}

void TMainForm::openPendingFiles() {
    // Not in the middle of a message's or dialog's own loop: the file waits
    // until the player has closed it.
    if (QApplication::activeModalWidget() || !created_) {
        if (!pendingTimer_.isActive()) pendingTimer_.start(200);
        return;
    }
    while (!pendingFiles_.empty() && !QApplication::activeModalWidget()) {
        const std::string file = pendingFiles_.front();
        pendingFiles_.erase(pendingFiles_.begin());
        openHandedOverFile(file);
    }
    if (!pendingFiles_.empty()) openPendingFiles();
}

void TMainForm::openHandedOverFile(const std::string& file) {
    run([this, &file] {
        if (isLevelTextFile(file)) {
            LevelTextCommands(model_, *services_.dialogs).openFile(file);
            return;
        }
        // As on the command line, a file of any other kind opens nothing.
        std::string ext = file.size() >= 4 ? file.substr(file.size() - 4) : std::string();
        for (char& c : ext)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (ext != ".BOX") return;
        model_.openOtherSet(file);
    });
}

void TMainForm::FormResizeWork() {
    if (fitting_) return;
    fitting_ = true;
    storeWindowSize();
    const bool resized = shown_ && sizeBoardPicture();
    if (model_.mazeWidth() != 0 && model_.mazeHeight() != 0 && model_.layout().cellSize != 0) {
        FitBoard();
        // From black up: the old board must not show round the new one.
        repaintAll();
    } else {
        syncBoard();
        // A new picture holds nothing yet: at least the background.
        if (resized) repaintAll();
    }
    fitting_ = false;
}

void TMainForm::mCustomSizeClick() {
    TGameVar& s = model_.settings();
    s.fixedSize = s.fixedSize == 1 ? 0 : 1;
    action("mCustomSize")->setChecked(s.fixedSize == 0);
    FormResizeWork();
}

void TMainForm::mShowToolBarClick() {
    TGameVar& s = model_.settings();
    const bool show = s.hideToolbar != 0;
    toolBar1_->setVisible(show);
    s.hideToolbar = show ? 0 : 1;
    action("mShowToolBar")->setChecked(show);
    FormResizeWork();
}

void TMainForm::mShowToolbarCaptionClick() {
    TGameVar& s = model_.settings();
    const bool shown = s.hideCaptions != 1;
    for (auto& [name, b] : buttons_) {
        if (shown) {
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
            b->setFixedHeight(22);
        } else {
            b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            b->setFixedHeight(35);
        }
    }
    s.hideCaptions = shown ? 1 : 0;
    action("mShowToolbarCaption")->setChecked(!shown);
    FormResizeWork();
}

void TMainForm::mShowStatusbarClick() {
    TGameVar& s = model_.settings();
    const bool show = s.hideStatusbar != 0;
    s.hideStatusbar = show ? 0 : 1;
    statusBar()->setVisible(show);
    action("mShowStatusbar")->setChecked(show);
}

void TMainForm::Timer1Timer() {
    if (model_.mazeWidth() == 0) return;
    if (blink_ == 1) {
        DrawMan(model_.manDir() - 1);
        blink_ = 0;
    } else {
        DrawMan(model_.manDir());
        blink_ = 1;
    }
}

// --- sound and music -------------------------------------------------------------------------

void TMainForm::PlayMusic() {
    const int n = model_.settings().musicNo;
    if (n >= 1 && n <= 5) musicFile_ = dirPrefix(appDir_) + "music" + std::to_string(n) + ".mid";
    if (!fileExists(musicFile_) || !services_.music) return;
    try {
        services_.music->open(musicFile_);
    } catch (const MusicDeviceError& e) {
        // The sequencer's own words; the game goes on without music.
        services_.dialogs->error(e.what());
        return;
    }
    if (musicOn_) services_.music->play();
}

void TMainForm::MediaPlayer1Notify() {
    if (fileExists(musicFile_) && musicOn_ && services_.music && !services_.music->isPlaying())
        services_.music->play();
}

void TMainForm::tbSoundClick() {
    const bool down = button("tbSound")->isChecked();
    soundOn_ = down;
    model_.settings().soundFlag = down ? 1 : 0;
    action("mSound")->setChecked(down);
}

void TMainForm::mSoundClick() {
    const bool on = !soundOn_;
    soundOn_ = on;
    model_.settings().soundFlag = on ? 1 : 0;
    action("mSound")->setChecked(on);
    button("tbSound")->setChecked(on);
}

void TMainForm::tbMusicClick() {
    const bool down = button("tbMusic")->isChecked();
    if (down) {
        action("mMusic")->setChecked(true);
        musicOn_ = true;
        if (fileExists(musicFile_) && services_.music) services_.music->play();
        model_.settings().musicFlag = 1;
    } else {
        musicOn_ = false;
        action("mMusic")->setChecked(false);
        if (fileExists(musicFile_) && services_.music) services_.music->stop();
        model_.settings().musicFlag = 0;
    }
}

void TMainForm::mMusicClick() {
    button("tbMusic")->setChecked(!musicOn_);
    tbMusicClick();
}

// --- keys and closing ------------------------------------------------------------------------

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == centralWidget()) FormResizeWork();
    // A key that no control of the window took is the window's own, whatever
    // has the focus.
    if (event->type() == QEvent::KeyPress && watched == this) {
        FormKeyDown(static_cast<QKeyEvent*>(event));
        return true;
    }
    // Key preview: the window sees keys before its controls.
    if (event->type() == QEvent::KeyPress && watched != image1_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && isActiveWindow()) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Left || k->key() == Qt::Key_Right || k->key() == Qt::Key_Up ||
            k->key() == Qt::Key_Down) {
            if (watched == focusWidget()) {
                FormKeyDown(k);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormKeyDown(QKeyEvent* e) {
    GameKey key = GameKey::Other;
    switch (e->key()) {
    case Qt::Key_Escape:
        key = GameKey::Escape;
        break;
    case Qt::Key_Up:
        key = GameKey::Up;
        break;
    case Qt::Key_Down:
        key = GameKey::Down;
        break;
    case Qt::Key_Left:
        key = GameKey::Left;
        break;
    case Qt::Key_Right:
        key = GameKey::Right;
        break;
    case Qt::Key_R:
        key = GameKey::R;
        break;
    case Qt::Key_N:
        key = GameKey::N;
        break;
    case Qt::Key_Equal:
        key = GameKey::Equals;
        break;
    case Qt::Key_Minus:
        key = GameKey::Minus;
        break;
    case Qt::Key_F12:
        key = GameKey::F12;
        break;
    default:
        break;
    }
    unsigned shift = 0;
    const auto mods = e->modifiers();
    if (mods & Qt::ShiftModifier) shift |= kShift;
    if (mods & Qt::ControlModifier) shift |= kCtrl;
    if (mods & Qt::AltModifier) shift |= kAlt;
    if (QApplication::mouseButtons() != Qt::NoButton) shift |= kMouse;
    // "=" and "-" count only when they are typed without Shift.
    if ((key == GameKey::Equals || key == GameKey::Minus) && (mods & Qt::KeypadModifier))
        key = GameKey::Other;
    run([this, key, shift] { model_.FormKeyDown(key, shift); });
}

void TMainForm::closeEvent(QCloseEvent* e) {
    FormClose();
    QMainWindow::closeEvent(e);
    // Queued behind the closing work, so that a message it showed has been
    // read and dismissed before the program ends.
    if (quitWhenClosed_) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TMainForm::FormClose() {
    if (closed_) return;
    closed_ = true;
    timer1_.stop();
    timer2_.stop();
    timer4_.stop();
    std::error_code ec;
    std::filesystem::remove(model_.undoFile().path(), ec);
    animator_.finish();
    painter_.releasePictures();
    if (services_.music) services_.music->close();
    try {
        saveSettings(FilePlaces(appDir_).settingsFile(), model_.settings());
    } catch (const FileError& err) {
        services_.dialogs->fileError(err);
    }
}

} // namespace sokoban
