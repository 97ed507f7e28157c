#include "ui/designer/level_preview.h"

#include "ui/view/board_painter.h"

#include <QEvent>
#include <QListWidget>
#include <QPainter>

namespace sokoban {

namespace {
constexpr int kDownFrame = 2; // the first frame facing down
}

void DrawPreview(QImage& image, const TMazeData& level, const BoardPainter& painter) {
    if (painter.closing) return;
    image.fill(Qt::black);
    QPainter p(&image);
    auto cellRect = [](int i) {
        return QRect(i % kCols * kPreviewCell, i / kCols * kPreviewCell, kPreviewCell,
                     kPreviewCell);
    };
    auto tile = [&](int i) {
        const int code = level.cells[static_cast<std::size_t>(i)];
        if (code < kWall || code > kBoxOnTarget) return; // outside stays black
        p.drawImage(cellRect(i), painter.tiles[static_cast<std::size_t>(code)]);
    };
    for (int i = 0; i < kCells; ++i)
        tile(i);

    // A worker index from a damaged file may point anywhere.
    if (level.man < 0 || level.man >= kCells) return;
    const QRect r = cellRect(level.man);
    tile(level.man);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(r, painter.manMasks[kDownFrame]);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(r, painter.manImages[kDownFrame]);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

namespace {
// Remembers the current row at each mouse press, so that the click that
// follows can tell a fresh choice (already reported by the row change) from
// a second click on the same entry.
class PressWatch : public QObject {
  public:
    explicit PressWatch(QListWidget* list) : QObject(list), list_(list) {}
    int rowAtPress = -1;

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) rowAtPress = list_->currentRow();
        return false;
    }

  private:
    QListWidget* list_;
};
} // namespace

void onEntryPicked(QListWidget* list, std::function<void()> pick) {
    auto* watch = new PressWatch(list);
    list->viewport()->installEventFilter(watch);
    QObject::connect(list, &QListWidget::currentRowChanged, list, [pick] { pick(); });
    QObject::connect(list, &QListWidget::itemClicked, list, [list, watch, pick] {
        if (list->currentRow() == watch->rowAtPress) pick();
    });
}

PreviewImage::PreviewImage(QWidget* parent)
    : QWidget(parent), image_(kCols * kPreviewCell, kRows * kPreviewCell, QImage::Format_RGB32) {
    setObjectName("Image1");
    image_.fill(Qt::black);
    setFixedSize(image_.size());
}

void PreviewImage::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, image_);
}

} // namespace sokoban
