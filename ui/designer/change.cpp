#include "ui/designer/change.h"

#include "storage/file_error.h"
#include "ui/designer/design_icons.h"
#include "ui/designer/level_preview.h"
#include "ui/designer/level_set_rewrite.h"
#include "ui/language.h"
#include "ui/platform/qt_dialogs.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>

namespace sokoban {

namespace fs = std::filesystem;

namespace {

constexpr const char* kContext = "sokoban::TformChange";

QString entryText(int number) {
    return QCoreApplication::translate(kContext, "关卡: %1").arg(number);
}

// Arrow and refresh glyphs in the manner of the designer's tool-bar images.
QIcon glyph(const QString& kind) {
    constexpr int size = 24, over = 4;
    QImage img(size * over, size * over, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(over, over);
    QPainterPath path;
    QColor base(40, 110, 200);
    if (kind == "refresh") {
        base = QColor(40, 150, 70);
        path.arcMoveTo(QRectF(4, 4, 16, 16), 60);
        path.arcTo(QRectF(4, 4, 16, 16), 60, 270);
        path.arcTo(QRectF(8, 8, 8, 8), 330, -270);
        path.closeSubpath();
        path.addPolygon(QPolygonF({{11, 1.5}, {19, 4.5}, {13, 10}}));
        path.closeSubpath();
    } else {
        // An arrow pointing up, turned to its direction.
        QPainterPath up;
        up.addPolygon(QPolygonF(
            {{12, 2.5}, {21, 12}, {15.5, 12}, {15.5, 21.5}, {8.5, 21.5}, {8.5, 12}, {3, 12}}));
        up.closeSubpath();
        const int turn = kind == "down" ? 180 : kind == "left" ? 270 : kind == "right" ? 90 : 0;
        QTransform t;
        t.translate(12, 12);
        t.rotate(turn);
        t.translate(-12, -12);
        path = t.map(up);
        path.setFillRule(Qt::WindingFill);
    }
    const QRectF r = path.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, base.lighter(150));
    g.setColorAt(1, base);
    p.setPen(QPen(base.darker(180), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(path.simplified());
    p.end();
    return QIcon(QPixmap::fromImage(
        img.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

} // namespace

TformChange::TformChange(const BoardPainter& painter, Dialogs* dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      painter_(painter), dialogs_(dialogs) {
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    setObjectName("formChange");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("关卡管理"));

    auto* panel1 = new QGroupBox;
    setTr(panel1, TextRole::Title, kContext, QT_TR_NOOP("关卡预览"));
    panel1->setObjectName("Panel1");
    image1_ = new PreviewImage;
    auto* panelLayout = new QVBoxLayout(panel1);
    panelLayout->addWidget(image1_);

    auto* middle = new QHBoxLayout;
    middle->addStretch();
    middle->addWidget(
        addButton("bleft", {kContext, QT_TR_NOOP("将关卡移到文件1中")}, glyph("left")));
    middle->addWidget(addButton("BitBtn3", {kContext, QT_TR_NOOP("刷新列表")}, glyph("refresh")));
    middle->addWidget(
        addButton("bright", {kContext, QT_TR_NOOP("将关卡移到文件2中")}, glyph("right")));
    middle->addStretch();
    connect(button("bleft"), &QToolButton::clicked, this,
            [this] { guarded([this] { CopyToOtherSide(1); }); });
    connect(button("bright"), &QToolButton::clicked, this,
            [this] { guarded([this] { CopyToOtherSide(0); }); });
    connect(button("BitBtn3"), &QToolButton::clicked, this, [this] { BitBtn3Click(); });

    auto* centre = new QVBoxLayout;
    centre->addWidget(panel1);
    centre->addLayout(middle);
    centre->addStretch();

    auto* grid = new QHBoxLayout(this);
    grid->addWidget(buildSide(0), 1);
    grid->addLayout(centre);
    grid->addWidget(buildSide(1), 1);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TformChange::buildSide(int side) {
    const QString n = QString::number(side + 1);
    Side& s = sides_[side];
    auto* box = new QWidget;
    s.edit = new QLineEdit;
    setTr(s.edit, kContext, QT_TR_NOOP("文件%1"), {n});
    s.edit->setObjectName("Edit" + n);
    s.edit->setReadOnly(true);
    s.list = new QListWidget;
    s.list->setObjectName("ListBox" + n);
    s.list->setFixedWidth(180);
    s.list->setMinimumHeight(image1_->height());
    s.edit->setFixedWidth(s.list->width());

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    const struct {
        const char* name;
        TrText hint;
        QIcon icon;
        void (TformChange::*command)(int);
    } rows[] = {
        {"load",
         {kContext, QT_TR_NOOP("打开文件%1"), {n}},
         designIcon("open"),
         &TformChange::LoadFile},
        {"up", {kContext, QT_TR_NOOP("关卡位置向上移动")}, glyph("up"), &TformChange::MoveUp},
        {"down", {kContext, QT_TR_NOOP("关卡位置向下移动")}, glyph("down"), &TformChange::MoveDown},
        {"delete",
         {kContext, QT_TR_NOOP("删除关卡")},
         designIcon("delete"),
         &TformChange::DeleteLevel},
    };
    for (const auto& r : rows) {
        QToolButton* b = addButton(r.name + n, r.hint, r.icon);
        buttons->addWidget(b);
        const auto command = r.command;
        connect(b, &QToolButton::clicked, this,
                [this, command, side] { guarded([=, this] { (this->*command)(side); }); });
    }
    buttons->addStretch();

    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(s.edit);
    column->addWidget(s.list, 1);
    column->addLayout(buttons);

    // A click previews even the entry already selected; the keys preview the
    // entry they move to. The commands select with the signals blocked, so
    // their selections do not.
    onEntryPicked(s.list, [this, side] { guarded([=, this] { ShowPreview(side); }); });
    return box;
}

QToolButton* TformChange::addButton(const QString& name, const TrText& hint, const QIcon& icon) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    setTr(b, TextRole::ToolTip, hint);
    // A picture alone tells a screen reader nothing.
    setTr(b, TextRole::AccessibleName, hint);
    b->setIcon(icon);
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(false);
    return b;
}

QToolButton* TformChange::button(const QString& name) const {
    return findChild<QToolButton*>(name);
}

TformChange::~TformChange() = default;

const QImage& TformChange::previewImage() const {
    return image1_->image();
}

void TformChange::showManager() {
    show();
    raise();
    activateWindow();
}

void TformChange::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const FileError& e) {
        dialogs_->fileError(e);
    } catch (const fs::filesystem_error& e) {
        dialogs_->fileError(FileError(e.path1(), e.code().value()));
    }
}

bool TformChange::fileThere(int side) const {
    std::error_code ec;
    const std::string& name = sides_[side].fileName;
    return !name.empty() && fs::exists(name, ec);
}

void TformChange::fillList(int side) {
    Side& s = sides_[side];
    const QSignalBlocker quiet(s.list);
    s.list->clear();
    for (int k = 1; k <= s.count; ++k)
        s.list->addItem(entryText(k));
}

void TformChange::select(int side, int row) {
    QListWidget* list = sides_[side].list;
    const QSignalBlocker quiet(list);
    if (row >= 0 && row < list->count())
        list->setCurrentRow(row);
    else
        list->setCurrentRow(-1);
}

void TformChange::swapEntries(int side, int from, int to) {
    QListWidget* list = sides_[side].list;
    const QString text = list->item(from)->text();
    list->item(from)->setText(list->item(to)->text());
    list->item(to)->setText(text);
}

void TformChange::LoadFile(int side) {
    const std::string n = std::to_string(side + 1);
    Side& s = sides_[side];
    const auto chosen = dialogs_->openFile(
        tr("推箱子游戏文件(*.box)|*.box").toStdString(),
        s.fileName.empty() ? std::string() : fs::path(s.fileName).parent_path().string());
    if (!chosen || chosen->empty()) return;

    // One file on both sides would leave one of the lists out of step with it,
    // however its path is spelled.
    const std::string& other = sides_[1 - side].fileName;
    std::error_code ec;
    if (*chosen == other || (!other.empty() && fs::equivalent(*chosen, other, ec))) {
        dialogs_->warning(tr("您已经打开这个文件了!").toStdString());
        return;
    }
    const int count = levelCountOf(*chosen);
    s.fileName = *chosen;
    s.count = count;
    fillList(side);
    select(side, 0);
    clearTr(s.edit, TextRole::Text);
    s.edit->setText(QString::fromStdString(s.fileName));
}

void TformChange::ShowPreview(int side) {
    const Side& s = sides_[side];
    const int row = s.list->currentRow();
    if (row < 0) return;
    preview_ = readLevelOf(s.fileName, row);
    DrawPreview();
}

void TformChange::DrawPreview() {
    sokoban::DrawPreview(image1_->image(), preview_, painter_);
    image1_->update();
}

void TformChange::MoveUp(int side) {
    const int i = sides_[side].list->currentRow();
    if (!fileThere(side) || i <= 0) return;
    exchangeLevels(sides_[side].fileName, i - 1, i);
    swapEntries(side, i - 1, i);
    select(side, i - 1);
}

void TformChange::MoveDown(int side) {
    const Side& s = sides_[side];
    const int i = s.list->currentRow();
    if (!fileThere(side) || i < 0 || i >= s.count - 1 || i >= s.list->count() - 1) return;
    exchangeLevels(s.fileName, i, i + 1);
    swapEntries(side, i, i + 1);
    select(side, i + 1);
}

void TformChange::DeleteLevel(int side) {
    Side& s = sides_[side];
    const int i = s.list->currentRow();
    if (i < 0 || !fileThere(side)) return;
    DeleteRecord(s.fileName, i + 1);
    {
        const QSignalBlocker quiet(s.list);
        delete s.list->takeItem(i);
    }
    s.count = levelCountOf(s.fileName);
    select(side, i + 1 <= s.count ? i : i - 1);
}

void TformChange::CopyToOtherSide(int source) {
    const Side& from = sides_[source];
    Side& to = sides_[1 - source];
    const int row = from.list->currentRow();
    if (!fileThere(source) || row < 0) {
        dialogs_->warning(tr("没有打开源文件或者没有指定要复制的关卡!").toStdString());
        return;
    }
    if (!fileThere(1 - source)) {
        dialogs_->warning(tr("没有打开目标文件!").toStdString());
        return;
    }
    appendLevel(to.fileName, readLevelOf(from.fileName, row));
    ++to.count;
    {
        const QSignalBlocker quiet(to.list);
        to.list->addItem(entryText(to.count));
    }
    select(1 - source, to.list->count() - 1);
}

void TformChange::BitBtn3Click() {
    for (int side = 0; side < 2; ++side) {
        fillList(side);
        select(side, -1);
    }
}

} // namespace sokoban
