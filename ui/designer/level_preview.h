// The small picture of a level that the level manager and the XSB viewer
// show: 34 x 22 cells of 10 pixels, drawn from the main window's pictures.
#pragma once

#include "storage/records.h"

#include <QImage>
#include <QWidget>
#include <functional>

class QListWidget;

namespace sokoban {

class BoardPainter;

constexpr int kPreviewCell = 10;

// Draws a level into a 340 x 220 picture: black, the tiles of the current
// face shrunk to 10 pixels, the worker facing down over its cell. Draws
// nothing once the main window has let its pictures go.
void DrawPreview(QImage& image, const TMazeData& level, const BoardPainter& painter);

// Calls `pick` whenever the user chooses an entry of the list: when the
// current entry changes by mouse or keys, and when the current entry is
// clicked again - once per choice. Selections made with the list's signals
// blocked do not count.
void onEntryPicked(QListWidget* list, std::function<void()> pick);

// Image1: shows the preview picture.
class PreviewImage : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewImage(QWidget* parent = nullptr);
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QImage image_;
};

} // namespace sokoban
