// The designer's element palette: a small floating tool window with seven
// toggle buttons, exactly one down at a time.
//
//   Placed0 erase   Placed1 wall   Placed2 floor   Placed3 target
//   Placed4 box     Placed5 box on target          Placed6 worker
#pragma once

#include <QWidget>
#include <array>

class QButtonGroup;
class QToolButton;

namespace sokoban {

class TFormItem : public QWidget {
    Q_OBJECT
  public:
    explicit TFormItem(QWidget* parent = nullptr);

    // The number of the button that is down (0..6).
    int element() const;
    QToolButton* button(int i) const { return placed_[static_cast<std::size_t>(i)]; }

    // The cursor that goes with an element: "black", "wall", "cell", ...
    static QString cursorName(int element);

  signals:
    // A button was chosen (Placed0 on mouse down, the others on click).
    void elementChosen(int element);
    // The palette was closed by its own close box.
    void closedByUser();

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    std::array<QToolButton*, 7> placed_{};
    QButtonGroup* group_ = nullptr;
};

} // namespace sokoban
