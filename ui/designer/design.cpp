#include "ui/designer/design.h"

#include "session/dialogs.h"
#include "storage/level_text.h"
#include "storage/xsb.h"
#include "ui/designer/design_icons.h"
#include "ui/designer/item.h"
#include "ui/designer/level_set_rewrite.h"
#include "ui/language.h"
#include "ui/main/main_form.h"
#include "ui/main/tool_bar.h"
#include "ui/pictures/pictures.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPen>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <climits>
#include <cstdlib>

namespace sokoban {

namespace {

const QColor kGridColour(60, 60, 60);
constexpr int kManFrame = 2; // first down-facing frame
// The translation context of the designer's texts, as lupdate names it.
constexpr const char* kContext = "sokoban::TFormDesign";
const char* const kBoxFilter =
    QT_TRANSLATE_NOOP("sokoban::TFormDesign", "推箱子游戏文件(*.box)|*.box");

QString q(const std::string& s) {
    return QString::fromStdString(s);
}
std::string num(long long n) {
    return std::to_string(n);
}

bool inGrid(int i) {
    return i >= 0 && i < kCells;
}

QSize screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

} // namespace

// --- the surface ---------------------------------------------------------------------------

DesignImage::DesignImage(const QImage& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setObjectName("Image1");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(1, 1);
    // The grid takes the keys, so it can be drawn without a mouse.
    setFocusPolicy(Qt::StrongFocus);
}

void DesignImage::setKeyCursor(const QRect& cell) {
    if (cell == keyCursor_) return;
    update(keyCursor_.adjusted(-2, -2, 2, 2));
    keyCursor_ = cell;
    update(keyCursor_.adjusted(-2, -2, 2, 2));
}

void DesignImage::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    // Beyond the picture (a part of the window that shows no grid) there is
    // only black.
    const QRect shown = e->rect() & picture_.rect();
    if (shown != e->rect()) p.fillRect(e->rect(), Qt::black);
    p.drawImage(shown, picture_, shown);
    if (keyCursor_.isEmpty()) return;
    // Yellow inside black, so it stands out on black cells and on tiles alike.
    const QRect r = keyCursor_.adjusted(0, 0, -1, -1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(r.adjusted(-1, -1, 1, 1));
    p.setPen(QPen(QColor(255, 220, 0), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(r.adjusted(1, 1, -1, -1));
}

void DesignImage::keyPressEvent(QKeyEvent* e) {
    e->ignore();
    emit keyDown(e);
    if (!e->isAccepted()) QWidget::keyPressEvent(e);
}

void DesignImage::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    if (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason)
        emit focusByKeyboard();
}

// --- building the window -----------------------------------------------------------------

TFormDesign::TFormDesign(TMainForm& mainForm, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), mainForm_(mainForm), dialogs_(dialogs) {
    setObjectName("FormDesign");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("关卡设计"));
    setWindowIcon(programIcon());
    buildMenus();
    buildToolBar();
    buildStatusBar();

    const QSize screen = screenSize();
    image1_ = new DesignImage(image_, this);
    setTr(image1_, TextRole::AccessibleName, kContext, QT_TR_NOOP("设计网格"));
    setCentralWidget(image1_);
    connect(image1_, &DesignImage::mouseDown, this, [this](QMouseEvent* e) { Image1MouseDown(e); });
    connect(image1_, &DesignImage::mouseMove, this, [this](QMouseEvent* e) { Image1MouseMove(e); });
    connect(image1_, &DesignImage::mouseUp, this, [this](QMouseEvent*) { drawing_ = false; });
    connect(image1_, &DesignImage::keyDown, this, [this](QKeyEvent* e) { gridKey(e); });
    connect(image1_, &DesignImage::focusByKeyboard, this, [this] { showKeyCursor(true); });
    resize(std::min(screen.width(), 34 * 24 + 8), std::min(screen.height(), 22 * 24 + 140));

    cellSize_ = computeCellSize(6);
    sizeSurface();
    image_.fill(Qt::black);
    fillWithGrid(kCols * cellSize_, kRows * cellSize_);
    designMaze_ = TMazeData{};
    manShown_ = false;
    element_ = 0;
    drawing_ = false;
    fileName_.clear();
    setTr(panels_[0], kContext, QT_TR_NOOP("没有设计文件！"));
    setGridCursor("black");
}

TFormDesign::~TFormDesign() = default;

QAction* TFormDesign::addAction(QMenu* menu, const QString& name, const char* caption,
                                const QKeySequence& shortcut) {
    return addNamedItem(actions_, menu, name, {kContext, caption}, shortcut);
}

QAction* TFormDesign::action(const QString& name) const {
    return findNamed(actions_, name);
}

QToolButton* TFormDesign::button(const QString& name) const {
    return findNamed(buttons_, name);
}

void TFormDesign::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const FileError& e) {
        dialogs_.fileError(e);
    } catch (const std::filesystem::filesystem_error& e) {
        dialogs_.fileError(FileError(e.path1(), e.code().value()));
    }
}

void TFormDesign::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto menu = [bar](const char* title) {
        QMenu* m = bar->addMenu(QString());
        setTr(m, TextRole::Title, kContext, title);
        return m;
    };
    auto on = [this](QAction* a, void (TFormDesign::*handler)()) {
        connect(a, &QAction::triggered, this,
                [this, handler] { guarded([=, this] { (this->*handler)(); }); });
    };

    QMenu* file = menu(QT_TR_NOOP("文件(&F)"));
    on(addAction(file, "MenuFileNew", QT_TR_NOOP("新建(&N)"), QKeySequence("Ctrl+N")),
       &TFormDesign::btFileNewClick);
    on(addAction(file, "MenuFileOpen", QT_TR_NOOP("打开(&O)"), QKeySequence("Ctrl+O")),
       &TFormDesign::btFileOpenClick);
    on(addAction(file, "menuFileSaveas", QT_TR_NOOP("文件另存为(&A)"), QKeySequence("Ctrl+A")),
       &TFormDesign::menuFileSaveasClick);
    file->addSeparator();
    auto* exchange = addAction(file, "Menuexchange", QT_TR_NOOP("关卡管理器(&M)"));
    exchange->setEnabled(false);
    connect(exchange, &QAction::triggered, this, [this] {
        if (onShowManager) onShowManager();
    });
    file->addSeparator();
    connect(addAction(file, "mExit", QT_TR_NOOP("退出(&X)"), QKeySequence("Alt+X")),
            &QAction::triggered, this, [this] { close(); });

    QMenu* record = menu(QT_TR_NOOP("关卡(&R)"));
    on(addAction(record, "MenuRecordGo", QT_TR_NOOP("打开关卡(&O)")),
       &TFormDesign::btRecordGotoClick);
    on(addAction(record, "MenuRecordNew", QT_TR_NOOP("新建关卡(&N)")),
       &TFormDesign::btRecordNewClick);
    on(addAction(record, "MenuRecordSave", QT_TR_NOOP("保存关卡(&S)")),
       &TFormDesign::btRecordSaveClick);
    on(addAction(record, "MenuRecordDelete", QT_TR_NOOP("删除关卡(&D)")),
       &TFormDesign::btRecordDeleteClick);
    record->addSeparator();
    on(addAction(record, "recordSaveAs", QT_TR_NOOP("关卡另存为(&A)")),
       &TFormDesign::recordSaveAsClick);
    record->addSeparator();
    on(addAction(record, "menuCheckSolvable", QT_TR_NOOP("检查能否过关"), QKeySequence("F5")),
       &TFormDesign::checkSolvableClick);

    QMenu* view = menu(QT_TR_NOOP("查看(&V)"));
    auto* status = addAction(view, "MenuViewToolbar", QT_TR_NOOP("状态栏(&S)"));
    status->setCheckable(true);
    status->setChecked(true);
    connect(status, &QAction::triggered, this, [this, status] {
        const bool show = !statusBar()->isVisible();
        statusBar()->setVisible(show);
        status->setChecked(show);
    });
    auto* captions = addAction(view, "menuShowCaption", QT_TR_NOOP("工具栏文字(&C)"));
    captions->setCheckable(true);
    captions->setChecked(true);
    connect(captions, &QAction::triggered, this, [this, captions] {
        const bool shown = button("btExit")->toolButtonStyle() == Qt::ToolButtonTextUnderIcon;
        for (auto& [name, b] : buttons_) {
            b->setToolButtonStyle(shown ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
            // The captions need the full height back.
            b->setFixedHeight(shown ? 22 : 35);
        }
        captions->setChecked(!shown);
    });
    auto* item = addAction(view, "MenuViewItem", QT_TR_NOOP("设计元素(&I)"));
    item->setCheckable(true);
    item->setChecked(true);
    connect(item, &QAction::triggered, this, [this, item] {
        if (!palette_) return;
        palette_->setVisible(!palette_->isVisible());
        item->setChecked(palette_->isVisible());
    });

    QMenu* other = menu(QT_TR_NOOP("其它"));
    on(addAction(other, "menuSaveXSB", QT_TR_NOOP("存为XSB文件(&S)")),
       &TFormDesign::menuSaveXSBClick);
    connect(addAction(other, "XSB1", QT_TR_NOOP("XSB文件浏览器")), &QAction::triggered, this,
            [this] {
                if (onShowXsbViewer) onShowXsbViewer();
            });

    QMenu* help = menu(QT_TR_NOOP("帮助(&H)"));
    connect(addAction(help, "MenuHelpContent", QT_TR_NOOP("内容(&C)")), &QAction::triggered, this,
            [this] {
                if (onShowHelp) onShowHelp();
            });
    connect(addAction(help, "MenuAbout", QT_TR_NOOP("关于(&A)")), &QAction::triggered, this,
            [this] {
                if (onShowAbout) onShowAbout();
            });

    // Hints show as tool tips; the status bar keeps its panels.
    const std::pair<const char*, const char*> hints[] = {
        {"MenuFileNew", QT_TR_NOOP("新建游戏文件")},
        {"MenuFileOpen", QT_TR_NOOP("打开游戏文件")},
        {"Menuexchange", QT_TR_NOOP("不同文件中的关卡互换")},
        {"mExit", QT_TR_NOOP("退出设计程序")},
        {"MenuRecordGo", QT_TR_NOOP("选择关卡")},
        {"MenuRecordNew", QT_TR_NOOP("新建关卡")},
        {"MenuRecordSave", QT_TR_NOOP("保存关卡")}};
    for (const auto& [name, hint] : hints)
        setTr(action(name), TextRole::ToolTip, kContext, hint);
    for (QMenu* menu : {file, record, view, other, help})
        menu->setToolTipsVisible(true);
}

QToolButton* TFormDesign::addButton(const QString& name, const char* caption, const QIcon& icon,
                                    const char* hint) {
    auto* b = addToolBarButton(toolBar_, name, {kContext, caption}, icon, {kContext, hint});
    buttons_[name] = b;
    return b;
}

void TFormDesign::buildToolBar() {
    toolBar_ = addGameToolBar(this, {kContext, QT_TR_NOOP("快捷工具栏")});

    auto on = [this](QToolButton* b, void (TFormDesign::*handler)()) {
        connect(b, &QToolButton::clicked, this,
                [this, handler] { guarded([=, this] { (this->*handler)(); }); });
    };
    on(addButton("btFileNew", QT_TR_NOOP("新建"), designIcon("new"), QT_TR_NOOP("新建游戏文件")),
       &TFormDesign::btFileNewClick);
    on(addButton("btFileOpen", QT_TR_NOOP("打开"), designIcon("open"), QT_TR_NOOP("打开游戏文件")),
       &TFormDesign::btFileOpenClick);
    toolBar_->addSeparator();
    on(addButton("btRecordPre", QT_TR_NOOP("前一关"), toolbarIcon(0), nullptr),
       &TFormDesign::btRecordPreClick);
    on(addButton("btRecordGoto", QT_TR_NOOP("选关"), toolbarIcon(1), QT_TR_NOOP("选择关卡")),
       &TFormDesign::btRecordGotoClick);
    on(addButton("btRecordNext", QT_TR_NOOP("下一关"), toolbarIcon(3), nullptr),
       &TFormDesign::btRecordNextClick);
    toolBar_->addSeparator();
    on(addButton("tbClear", QT_TR_NOOP("清空"), designIcon("clear"), nullptr),
       &TFormDesign::tbClearClick);
    on(addButton("btRecordNew", QT_TR_NOOP("新关"), designIcon("newLevel"), QT_TR_NOOP("新建关卡")),
       &TFormDesign::btRecordNewClick);
    on(addButton("btRecordSave", QT_TR_NOOP("保存"), designIcon("save"), QT_TR_NOOP("保存关卡")),
       &TFormDesign::btRecordSaveClick);
    on(addButton("btRecordDelete", QT_TR_NOOP("删除"), designIcon("delete"),
                 QT_TR_NOOP("删除关卡")),
       &TFormDesign::btRecordDeleteClick);
    toolBar_->addSeparator();
    connect(addButton("btExit", QT_TR_NOOP("退出"), toolbarIcon(12), QT_TR_NOOP("退出设计程序")),
            &QToolButton::clicked, this, [this] { close(); });
}

void TFormDesign::buildStatusBar() {
    auto* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    const int widths[3] = {200, 200, 50};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(bar);
        l->setObjectName(QString("Panel%1").arg(i));
        l->setFixedWidth(widths[i]);
        if (i < 2) l->setAlignment(Qt::AlignCenter);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(l);
        panels_[i] = l;
    }
}

void TFormDesign::setPalette(TFormItem* palette) {
    palette_ = palette;
    if (!palette_) return;
    connect(palette_, &TFormItem::elementChosen, this,
            [this](int element) { setGridCursor(TFormItem::cursorName(element)); });
    connect(palette_, &TFormItem::closedByUser, this,
            [this] { action("MenuViewItem")->setChecked(false); });
}

// --- showing and closing ---------------------------------------------------------------

void TFormDesign::showDesign() {
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(QPoint(0, 0), screenSize());
    move(screen.center() - rect().center());
    showMaximized();
    if (palette_) {
        // The first time it floats at the top right of the grid.
        if (!palette_->property("placed").toBool()) {
            palette_->move(screen.right() - palette_->width() - 40, screen.top() + 120);
            palette_->setProperty("placed", true);
        }
        palette_->show();
        action("MenuViewItem")->setChecked(true);
    }
    mainForm_.hide();
    image1_->setFocus(Qt::OtherFocusReason);
}

void TFormDesign::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    // Every showing starts on an empty grid; the file and its numbers stay.
    if (!e->spontaneous()) tbClearClick();
}

void TFormDesign::closeEvent(QCloseEvent* e) {
    drawing_ = false;
    if (!mayDropDesign()) {
        e->ignore();
        return;
    }
    if (palette_) palette_->hide();
    mainForm_.show();
    QMainWindow::closeEvent(e);
}

void TFormDesign::keyPressEvent(QKeyEvent* e) {
    // The hidden level-manager key, the same as the main window's.
    const auto mods = e->modifiers() & ~Qt::KeypadModifier;
    if (e->key() == Qt::Key_F12 && mods == Qt::ControlModifier &&
        QApplication::mouseButtons() == Qt::NoButton) {
        action("Menuexchange")->setEnabled(true);
        dialogs_.beep();
    }
}

bool TFormDesign::exchangeEnabled() const {
    return action("Menuexchange")->isEnabled();
}

// --- drawing -------------------------------------------------------------------------------

int TFormDesign::computeCellSize(int widthAllowance) const {
    const QRect outer = frameGeometry();
    const int panel = toolBar_->isVisible() ? toolBar_->height() : toolBar_->sizeHint().height();
    const int a = (outer.width() - widthAllowance) / kCols;
    const int b = (outer.height() - panel - 46) / kRows;
    // Never below one pixel: the mouse divides by it.
    return std::max(1, std::min(a, b));
}

void TFormDesign::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (mainForm_.painter().closing) return;
    cellSize_ = computeCellSize(8);
    sizeSurface();
    redrawGrid();
}

void TFormDesign::sizeSurface() {
    // The surface covers the grid and the part of the window that shows it,
    // not the whole screen; it follows the window.
    const QSize size =
        image1_->size().expandedTo(QSize(kCols * cellSize_ + 1, kRows * cellSize_ + 1));
    if (image_.size() != size) image_ = QImage(size, QImage::Format_RGB32);
}

void TFormDesign::fillWithGrid(int width, int height) {
    QPainter p(&image_);
    p.fillRect(image_.rect(), Qt::black);
    for (int i = 0; i <= kRows; ++i)
        p.fillRect(0, i * cellSize_, width, 1, kGridColour);
    for (int i = 0; i <= kCols; ++i)
        p.fillRect(i * cellSize_, 0, 1, height, kGridColour);
}

void TFormDesign::redrawGrid() {
    fillWithGrid(kCols * cellSize_, kRows * cellSize_);
    drawAllCells();
    if (manShown_ && designMaze_.man != 0) drawMan(designMaze_.man);
    showKeyCursor(keyCursorShown_); // the cells have a new size
    image1_->update();
}

void TFormDesign::drawCell(int i) {
    if (!inGrid(i)) return;
    const int s = cellSize_;
    const QRect r(i % kCols * s, i / kCols * s, s, s);
    const int code = designMaze_.cells[static_cast<std::size_t>(i)];
    QPainter p(&image_);
    if (code >= kWall && code <= kBoxOnTarget) {
        p.drawImage(r, mainForm_.painter().tiles[static_cast<std::size_t>(code)]);
        return;
    }
    p.fillRect(r, Qt::black);
    p.fillRect(r.x(), r.y(), 1, s, kGridColour);
    p.fillRect(r.x(), r.y(), s, 1, kGridColour);
}

void TFormDesign::drawMan(int i) {
    if (!inGrid(i)) return;
    drawCell(i);
    const BoardPainter& pictures = mainForm_.painter();
    const int s = cellSize_;
    const QRect r(i % kCols * s, i / kCols * s, s, s);
    QPainter p(&image_);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(r, pictures.manMasks[kManFrame]);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(r, pictures.manImages[kManFrame]);
}

void TFormDesign::drawAllCells() {
    for (int i = 0; i < kCells; ++i)
        drawCell(i);
}

void TFormDesign::setGridCursor(const QString& name) {
    cursorName_ = name;
    image1_->setCursor(gameCursor(name));
}

// --- the mouse on the grid --------------------------------------------------------------

void TFormDesign::Image1MouseDown(QMouseEvent* e) {
    drawing_ = true;
    const QPoint pos = e->position().toPoint();
    lastPos_ = pos;
    lastCell_ = -1;
    // The mouse draws without the keyboard's cursor; the keys go on from here.
    showKeyCursor(false);
    if (pos.x() >= 0 && pos.y() >= 0 && pos.x() / cellSize_ < kCols &&
        pos.y() / cellSize_ < kRows) {
        keyCell_ = pos.y() / cellSize_ * kCols + pos.x() / cellSize_;
        PutCell(pos.x() / cellSize_, pos.y() / cellSize_);
    }
}

void TFormDesign::showRowAndColumn(int row, int column) {
    setTr(panels_[1], kContext, QT_TR_NOOP("行：%1   列：%2"),
          {QString::number(row), QString::number(column)});
}

void TFormDesign::Image1MouseMove(QMouseEvent* e) {
    if (palette_) element_ = palette_->element();
    const QPoint pos = e->position().toPoint();
    const int column = pos.x() / cellSize_, row = pos.y() / cellSize_;
    showRowAndColumn(row, column);
    // A release that went to a message box is not seen here.
    if (e->buttons() == Qt::NoButton) drawing_ = false;
    if (drawing_) paintAlong(lastPos_, pos);
    lastPos_ = pos;
}

// The pointer jumps many cells between two moves when dragged fast; every
// cell on the way between them is painted, as if it had moved slowly.
void TFormDesign::paintAlong(QPoint from, QPoint to) {
    const QPoint d = to - from;
    const int steps = std::max(std::abs(d.x()), std::abs(d.y()));
    for (int k = 1; k <= steps && drawing_; ++k) {
        const int x = from.x() + static_cast<int>(std::lround(double(d.x()) * k / steps));
        const int y = from.y() + static_cast<int>(std::lround(double(d.y()) * k / steps));
        if (x < 0 || y < 0 || x >= kCols * cellSize_ || y >= kRows * cellSize_) {
            lastCell_ = -1; // beyond the grid nothing is painted
            continue;
        }
        const int column = x / cellSize_, row = y / cellSize_;
        if (row * kCols + column != lastCell_) PutCell(column, row);
    }
}

void TFormDesign::PutCell(int column, int row) {
    const int i = row * kCols + column;
    lastCell_ = i;
    auto& cells = designMaze_.cells;
    if (element_ >= 0 && element_ <= 5) {
        if (i == designMaze_.man) manShown_ = false;
        cells[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(element_);
        modified_ = true;
        drawCell(i);
    } else if (element_ == 6) {
        const int code = cells[static_cast<std::size_t>(i)];
        if (code != kFloor && code != kTarget) {
            dialogs_.information(tr("搬运工的起始位置只能在地板上！").toStdString());
            return;
        }
        if (manShown_ && i == designMaze_.man) return;
        const int old = designMaze_.man;
        drawMan(i);
        designMaze_.man = static_cast<std::int16_t>(i);
        if (manShown_) drawCell(old);
        manShown_ = true;
        modified_ = true;
    }
    image1_->update();
}

// --- the keys on the grid ---------------------------------------------------------------

void TFormDesign::showKeyCursor(bool shown) {
    keyCursorShown_ = shown;
    const int s = cellSize_;
    image1_->setKeyCursor(shown ? QRect(keyCell_ % kCols * s, keyCell_ / kCols * s, s + 1, s + 1)
                                : QRect());
}

void TFormDesign::chooseElement(int element) {
    // As a click on the palette's button does, so the palette shows it too.
    if (palette_) {
        palette_->button(element)->click();
    } else {
        element_ = element;
        setGridCursor(TFormItem::cursorName(element));
    }
}

void TFormDesign::gridKey(QKeyEvent* e) {
    // Keys with Ctrl or Alt belong to the menus and the hidden unlock.
    if ((e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) != Qt::NoModifier) return;
    int row = keyCell_ / kCols, column = keyCell_ % kCols;
    switch (e->key()) {
    case Qt::Key_Left:
        column = std::max(column - 1, 0);
        break;
    case Qt::Key_Right:
        column = std::min(column + 1, kCols - 1);
        break;
    case Qt::Key_Up:
        row = std::max(row - 1, 0);
        break;
    case Qt::Key_Down:
        row = std::min(row + 1, kRows - 1);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        e->accept();
        if (palette_) element_ = palette_->element();
        showKeyCursor(true);
        lastCell_ = -1;
        guarded([&] { PutCell(column, row); });
        return;
    default:
        if (e->key() >= Qt::Key_0 && e->key() <= Qt::Key_6) {
            e->accept();
            chooseElement(e->key() - Qt::Key_0);
        }
        return;
    }
    e->accept();
    keyCell_ = row * kCols + column;
    showKeyCursor(true);
    showRowAndColumn(row, column);
}

// --- levels and files ---------------------------------------------------------------------

bool TFormDesign::fileOpen() const {
    return !fileName_.empty() && designFile().exists();
}

void TFormDesign::setFileCaption() {
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("关卡设计  %1"), {q(fileName_)});
}

void TFormDesign::showPosition() {
    setTr(panels_[0], kContext, QT_TR_NOOP("当前关卡：%1 / %2"),
          {QString::number(recordNo_), QString::number(recordCount_)});
}

bool TFormDesign::designValid() {
    // A worker index read from a file may point anywhere.
    const int man = designMaze_.man;
    if (inGrid(man)) {
        const int code = designMaze_.cells[static_cast<std::size_t>(man)];
        if (code == kFloor || code == kTarget) return true;
    }
    dialogs_.information(tr("这个样子可没法玩，有点不对吧？").toStdString());
    return false;
}

void TFormDesign::LoadRecord() {
    const RecordFile file = designFile();
    recordCount_ = static_cast<int>(file.count());
    if (recordCount_ == 0) {
        dialogs_.information(tr("游戏文件中没有关卡数据，新建一关！").toStdString());
        replaceFileContents(fileName_, {});
        setFileCaption();
        recordNo_ = 1;
        btRecordNewClick();
        return;
    }
    designMaze_ = file.get<TMazeData>(recordNo_ - 1);
    drawAllCells();
    drawMan(designMaze_.man);
    manShown_ = true;
    modified_ = false;
    showPosition();
    image1_->update();
}

bool TFormDesign::mayDropDesign() {
    if (!modified_) return true;
    switch (dialogs_.askYesNoCancel(tr("关卡已修改，是否保存？").toStdString())) {
    case Answer::Yes:
        if (!fileOpen()) {
            dialogs_.information(tr("没有打开游戏文件，关卡无法保存！").toStdString());
            return false;
        }
        return saveLevel();
    case Answer::No:
        modified_ = false;
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

void TFormDesign::btFileOpenClick() {
    if (!mayDropDesign()) return;
    const auto chosen = dialogs_.openFile(tr(kBoxFilter).toStdString());
    if (!chosen) return;
    fileName_ = *chosen;
    recordNo_ = 1;
    setFileCaption();
    LoadRecord();
}

void TFormDesign::btFileNewClick() {
    if (!mayDropDesign()) return;
    const auto chosen = dialogs_.saveFile(tr(kBoxFilter).toStdString(), "*.box");
    if (!chosen) return;
    // Emptied by a rename, so a failure leaves the old file whole.
    replaceFileContents(*chosen, {});
    fileName_ = *chosen;
    setFileCaption();
    recordNo_ = 1;
    btRecordNewClick();
}

void TFormDesign::menuFileSaveasClick() {
    // A copy of the level-set file under a new name, which is edited from then on.
    if (!fileOpen()) return;
    const auto chosen = dialogs_.saveFile(tr(kBoxFilter).toStdString(), "*.box");
    if (!chosen) return;
    std::error_code ec;
    if (!std::filesystem::equivalent(fileName_, *chosen, ec)) copyLevelSet(fileName_, *chosen);
    fileName_ = *chosen;
    setFileCaption();
    recordCount_ = static_cast<int>(designFile().count());
    showPosition();
}

void TFormDesign::btRecordNewClick() {
    if (!mayDropDesign()) return;
    fillWithGrid(image_.width(), image_.height());
    designMaze_ = TMazeData{};
    manShown_ = false;
    modified_ = false;
    if (fileOpen()) {
        recordCount_ = static_cast<int>(designFile().count());
        recordNo_ = recordCount_ + 1;
        showPosition();
    }
    image1_->update();
}

void TFormDesign::tbClearClick() {
    setGridCursor("black");
    designMaze_ = TMazeData{};
    manShown_ = false;
    modified_ = false; // an empty grid holds nothing worth keeping
    drawAllCells();
    image1_->update();
}

void TFormDesign::btRecordGotoClick() {
    const auto answer =
        dialogs_.inputBox(tr("指定关卡").toStdString(), tr("输入关卡号：").toStdString(), "");
    if (!answer || isBlankAnswer(*answer)) return;
    const auto n = parseWholeNumber(*answer);
    if (!n) {
        dialogs_.warning(tr("请输入有效数字!").toStdString());
        return;
    }
    if (*n < 1 || *n > recordCount_) {
        dialogs_.warning(tr("请输入有效关卡号!").toStdString());
        return;
    }
    if (!mayDropDesign()) return;
    recordNo_ = static_cast<int>(*n);
    try {
        LoadRecord();
    } catch (const FileError&) {
        dialogs_.warning(tr("请输入有效数字!").toStdString());
    }
}

void TFormDesign::btRecordNextClick() {
    if (recordNo_ < recordCount_ && mayDropDesign()) {
        ++recordNo_;
        LoadRecord();
    }
}

void TFormDesign::btRecordPreClick() {
    if (recordNo_ > 1 && mayDropDesign()) {
        --recordNo_;
        LoadRecord();
    }
}

void TFormDesign::btRecordSaveClick() {
    saveLevel();
}

// Stores the design as level recordNo; a number past the end of a file that
// has shrunk since it was counted appends instead of leaving a gap. The file
// is written anew and renamed over the old one, so a failed write (a full
// disk) leaves the old file whole.
bool TFormDesign::saveLevel() {
    if (!designValid() || !fileOpen()) return false;
    const int have = static_cast<int>(designFile().count());
    if (recordNo_ - 1 > have) recordNo_ = have + 1;
    putLevel(fileName_, recordNo_ - 1, designMaze_);
    modified_ = false;
    dialogs_.information(tr("将设计保存到了第%1关！").arg(recordNo_).toStdString());
    recordCount_ = static_cast<int>(designFile().count());
    showPosition();
    return true;
}

void TFormDesign::recordSaveAsClick() {
    const auto answer =
        dialogs_.inputBox(tr("保存到另外关卡").toStdString(), tr("输入关卡号：").toStdString(), "");
    if (!answer || isBlankAnswer(*answer)) return;
    const auto n = parseWholeNumber(*answer);
    if (!n) {
        dialogs_.warning(tr("请输入有效数字!").toStdString());
        return;
    }
    if (*n < 1 || *n > recordCount_ + 1) {
        dialogs_.warning(tr("请输入有效关卡号!").toStdString());
        return;
    }
    if (!designValid() || !fileOpen()) return;
    std::string shown = *answer;
    const int have = static_cast<int>(designFile().count());
    if (*n - 1 > have) shown = num(have + 1);
    putLevel(fileName_, std::min(static_cast<int>(*n) - 1, have), designMaze_);
    modified_ = false;
    dialogs_.information(tr("将设计保存到了第%1关！").arg(q(shown)).toStdString());
    recordCount_ = static_cast<int>(designFile().count());
    showPosition();
}

void TFormDesign::btRecordDeleteClick() {
    if (!fileOpen()) return;
    if (!dialogs_.confirm(tr("删除后不能恢复，确认删除吗？").toStdString())) return;
    recordCount_ = static_cast<int>(designFile().count());
    if (recordNo_ == recordCount_) {
        // The last level: the design stays on the grid as a new level.
        DeleteRecord(fileName_, recordCount_);
        --recordCount_;
        modified_ = true;
        showPosition();
        return;
    }
    if (recordNo_ >= 1 && recordNo_ < recordCount_) {
        DeleteRecord(fileName_, recordNo_);
        recordNo_ = recordCount_ - 1;
    } else {
        // An unsaved new level: nothing to delete, the last level comes back.
        recordNo_ = recordCount_;
    }
    LoadRecord();
}

void TFormDesign::menuSaveXSBClick() {
    if (!designValid()) return;
    const auto chosen = dialogs_.saveFile(
        tr("仓库文件(*.xsb)|*.xsb|所有文件(*.*)|*.*").toStdString(), "yours*.xsb");
    if (!chosen) return;
    saveXsb(*chosen, designMaze_);
    modified_ = false; // kept in the XSB file
    dialogs_.information(tr("保存完毕！").toStdString());
}

bool TFormDesign::LoadXSB(const std::string& path) {
    GameModel& model = mainForm_.model();
    if (!model.ReadXSB(path)) {
        // After the reader's message: a file without a level starts a new
        // level, as a level-set file without one does; a file refused for
        // anything else leaves the grid as it was.
        if (readFirstLevel(path).status == XsbStatus::NoLevel) btRecordNewClick();
        return false;
    }
    designMaze_ = model.xsbMaze();
    drawAllCells();
    drawMan(designMaze_.man);
    manShown_ = true;
    modified_ = true;
    image1_->update();
    return true;
}

} // namespace sokoban
