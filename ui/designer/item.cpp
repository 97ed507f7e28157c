#include "ui/designer/item.h"

#include "ui/language.h"
#include "ui/pictures/pictures.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>

namespace sokoban {

namespace {

constexpr int kImage = 30;

QImage rgb(const QString& name) {
    return picture(name).convertToFormat(QImage::Format_RGB32);
}

// The button pictures keep one look whatever face the board has: the blue
// walls and sandy floor of the default face and the first worker.
QImage elementImage(int element) {
    static const char* tiles[] = {nullptr, "10wall", "10cell", "10target", "10box", "10box1"};
    if (element == 0) {
        QImage black(kImage, kImage, QImage::Format_RGB32);
        black.fill(Qt::black);
        return black;
    }
    if (element <= 5) return rgb(tiles[element]);
    QImage man = rgb("10cell");
    QPainter p(&man);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(0, 0, rgb("1down1mask"));
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(0, 0, rgb("1down1"));
    return man;
}

} // namespace

namespace {
constexpr const char* kContext = "sokoban::TFormItem";
}

QString TFormItem::cursorName(int element) {
    static const char* names[] = {"black", "wall", "cell", "target", "box", "box1", "boy"};
    return element >= 0 && element <= 6 ? names[element] : "black";
}

TFormItem::TFormItem(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("FormItem");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("设计元素"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    static const char* hints[] = {
        QT_TR_NOOP("擦除"), QT_TR_NOOP("墙壁"),         QT_TR_NOOP("地板"),  QT_TR_NOOP("目标"),
        QT_TR_NOOP("箱子"), QT_TR_NOOP("目标上的箱子"), QT_TR_NOOP("搬运工")};

    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);
    for (int i = 0; i < 7; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString("Placed%1").arg(i));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setIcon(QPixmap::fromImage(elementImage(i)));
        b->setIconSize(QSize(kImage, kImage));
        b->setFixedSize(kImage + 8, kImage + 8);
        setTr(b, TextRole::ToolTip, kContext, hints[i]);
        setTr(b, TextRole::AccessibleName, kContext, hints[i]); // the button shows only a picture
        group_->addButton(b, i);
        row->addWidget(b);
        placed_[static_cast<std::size_t>(i)] = b;
        // The eraser answers as soon as the button goes down, the others on a click.
        if (i == 0)
            connect(b, &QToolButton::pressed, this, [this, b] {
                b->setChecked(true);
                emit elementChosen(0);
            });
        else
            connect(b, &QToolButton::clicked, this, [this, i] { emit elementChosen(i); });
    }
    // The element in use stands out clearly from the others.
    setStyleSheet("QToolButton { border: 1px solid transparent; border-radius: 3px; padding: 2px; }"
                  "QToolButton:hover { border-color: #8fb4e0; background: #e4eefa; }"
                  "QToolButton:checked { border: 2px solid #2f6fc0; background: #b9d3f2; }");
    placed_[0]->setChecked(true);
    setFixedSize(sizeHint());
}

int TFormItem::element() const {
    return std::max(group_->checkedId(), 0);
}

void TFormItem::closeEvent(QCloseEvent* e) {
    // The designer hides the palette without closing it, so a close here
    // comes from the palette's own close box.
    QWidget::closeEvent(e);
    emit closedByUser();
}

} // namespace sokoban
