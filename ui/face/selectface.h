// "自定义界面": combines the wall of one face, the floor and target of another
// and the boxes of a third into the custom face, with a preview of every tile,
// and can step through all 1000 combinations live on the main board. Below
// them the skins from files can be chosen instead.
#pragma once

#include <QDialog>
#include <QTimer>
#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace sokoban {

class TMainForm;

class TFormFace : public QDialog {
    Q_OBJECT
  public:
    explicit TFormFace(TMainForm& mainForm);

    // Wall, floor and box numbers of demonstration step n (0..999): the box
    // changes fastest, the wall slowest.
    struct Combination {
        int wall, floor, box;
        bool operator==(const Combination&) const = default;
    };
    static Combination combination(int n) { return {n / 100 + 1, n % 100 / 10 + 1, n % 10 + 1}; }

    void FormShow();
    void ApplyFace();
    void Button1Click();
    void Button2Click();
    void bShowFaceClick();
    void Timer1Timer();
    void FormKeyDown(QKeyEvent* e);

    QTimer& timer1() { return timer1_; }
    int demoCount() const { return demoCount_; }
    // The checked number of a group (0 "wall", 1 "floor", 2 "box"); 0 when none is checked.
    int checkedNumber(int group) const;
    QPushButton* button(const QString& name) const;
    // Skins from files beside the combinations: item 0 is none, then one per
    // skin found, by file name as item data.
    QComboBox* skinBox() const { return skinBox_; }

  protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    // Escape and the title bar's close button act as cancel: no demonstration
    // keeps running behind a hidden window.
    void reject() override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void buildGroup(int group, const char* caption, const QString& radioName, int previews, int x,
                    int width);
    void check(int group, int number);
    void drawOnMainBoard(int wall, int floor, int box);

    TMainForm& main_;
    void fillSkins();
    static QString noSkinText();
    void showSkinPreview();

    std::array<QButtonGroup*, 3> groups_{};
    // Preview labels by group, column and row; the second column only for floors and boxes.
    std::array<std::array<std::array<QLabel*, 10>, 2>, 3> previews_{};
    QComboBox* skinBox_ = nullptr;
    QLabel* skinPreview_ = nullptr;
    QPushButton* button3_ = nullptr;
    QPushButton* bShowFace_ = nullptr;
    QPushButton* button1_ = nullptr;
    QPushButton* button2_ = nullptr;
    QTimer timer1_;
    int demoCount_ = 0;
};

} // namespace sokoban
