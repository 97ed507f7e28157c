#include "selectface.h"

#include "ui/language.h"
#include "ui/main/main_form.h"
#include "ui/pictures/pictures.h"
#include "ui/skins/skin.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace sokoban {

namespace {
constexpr int kTile = 30;
constexpr int kRowStep = 32;
constexpr int kFirstRow = 24; // below the group caption
constexpr int kRadioWidth = 20;
constexpr int kGap = 4;

const char* const kGroupWords[3] = {"wall", "floor", "box"};

// The preview names as the window has always spelt them: imagewall1..9 but
// Imagewall10, Imagefloor21..29 then Imagefloor210.
QString previewName(int group, int column, int n) {
    const QString base = group == 0 ? "imagewall" : QString("Image") + kGroupWords[group];
    QString name = base + (column == 1 ? "2" : "") + QString::number(n);
    if (group == 0 && n == 10) name[0] = 'I';
    return name;
}
constexpr const char* kContext = "sokoban::TFormFace";
} // namespace

TFormFace::TFormFace(TMainForm& mainForm)
    : QDialog(&mainForm, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                             Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      main_(mainForm) {
    setObjectName("TFormFace");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("自定义界面"));
    setModal(false);
    setFixedSize(378, 437);

    // Three groups side by side, each centred on its column of previews.
    buildGroup(0, QT_TR_NOOP("墙壁"), "rbwall", 1, 9, 92);
    buildGroup(1, QT_TR_NOOP("地板"), "rbfloor", 2, 109, 126);
    buildGroup(2, QT_TR_NOOP("箱子"), "rbbox", 2, 243, 126);

    auto addButton = [this](const QString& name, const char* caption, int x) {
        auto* b = new QPushButton(this);
        setTr(b, kContext, caption);
        b->setObjectName(name);
        b->setGeometry(x, 402, 80, 27);
        return b;
    };
    // The skins row: a skin from a file takes the place of the combination.
    auto* skinLabel = new QLabel(this);
    skinLabel->setObjectName("LabelSkin");
    setTr(skinLabel, kContext, QT_TR_NOOP("皮肤："));
    skinLabel->setGeometry(9, 366, 60, 30);
    skinBox_ = new QComboBox(this);
    skinBox_->setObjectName("cbSkin");
    skinBox_->setGeometry(70, 368, 250, 26);
    skinPreview_ = new QLabel(this);
    skinPreview_->setObjectName("ImageSkin");
    skinPreview_->setGeometry(330, 366, 30, 30);
    connect(skinBox_, &QComboBox::currentIndexChanged, this, [this] { showSkinPreview(); });
    button3_ = addButton("Button3", QT_TR_NOOP("应  用"), 9);
    bShowFace_ = addButton("bShowFace", QT_TR_NOOP("演示"), 102);
    button1_ = addButton("Button1", QT_TR_NOOP("确  定"), 196);
    button2_ = addButton("Button2", QT_TR_NOOP("取  消"), 289);
    setTr(bShowFace_, TextRole::ToolTip, kContext,
          QT_TR_NOOP("自动演示所有界面组合!\n使用+ - 键可以加速或者减速\n使用N键可以间隔跳动"));
    connect(button3_, &QPushButton::clicked, this, [this] { ApplyFace(); });
    connect(bShowFace_, &QPushButton::clicked, this, [this] { bShowFaceClick(); });
    connect(button1_, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(button2_, &QPushButton::clicked, this, [this] { Button2Click(); });

    timer1_.setInterval(500);
    connect(&timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TFormFace::buildGroup(int group, const char* caption, const QString& radioName, int previews,
                           int x, int width) {
    auto* box = new QGroupBox(this);
    setTr(box, TextRole::Title, kContext, caption);
    box->setObjectName(QString("GroupBox") + kGroupWords[group]);
    box->setGeometry(x, 8, width, kFirstRow + 10 * kRowStep - 2 + 8);
    const int content = kRadioWidth + previews * (kGap + kTile) - kGap + 4;
    const int left = (width - content) / 2;
    auto* buttons = new QButtonGroup(this);
    groups_[static_cast<std::size_t>(group)] = buttons;
    for (int n = 1; n <= 10; ++n) {
        const int y = kFirstRow + (n - 1) * kRowStep;
        auto* rb = new QRadioButton(box);
        rb->setObjectName(radioName + QString::number(n));
        rb->setGeometry(left, y, kRadioWidth, kTile);
        buttons->addButton(rb, n);
        for (int c = 0; c < previews; ++c) {
            auto* image = new QLabel(box);
            image->setObjectName(previewName(group, c, n));
            image->setGeometry(left + kRadioWidth + 4 + c * (kTile + kGap), y, kTile, kTile);
            previews_[static_cast<std::size_t>(group)][static_cast<std::size_t>(c)]
                     [static_cast<std::size_t>(n - 1)] = image;
        }
    }
}

QPushButton* TFormFace::button(const QString& name) const {
    for (auto* b : {button3_, bShowFace_, button1_, button2_})
        if (b->objectName() == name) return b;
    return nullptr;
}

int TFormFace::checkedNumber(int group) const {
    return std::max(groups_[static_cast<std::size_t>(group)]->checkedId(), 0);
}

void TFormFace::check(int group, int number) {
    QButtonGroup* g = groups_[static_cast<std::size_t>(group)];
    if (auto* b = g->button(number)) {
        b->setChecked(true);
    } else if (auto* checked = g->checkedButton()) {
        // A number outside 1..10 selects nothing.
        g->setExclusive(false);
        checked->setChecked(false);
        g->setExclusive(true);
    }
}

void TFormFace::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) FormShow();
    QDialog::showEvent(e);
}

void TFormFace::FormShow() {
    const TGameVar& s = main_.model().settings();
    check(0, s.customWall);
    check(1, s.customFloor);
    check(2, s.customBox);
    static const char* const words[3][2] = {{"wall", ""}, {"cell", "target"}, {"box", "box1"}};
    for (int g = 0; g < 3; ++g)
        for (int c = 0; c < 2; ++c)
            for (int n = 1; n <= 10; ++n)
                if (auto* image = previews_[static_cast<std::size_t>(g)][static_cast<std::size_t>(
                        c)][static_cast<std::size_t>(n - 1)])
                    image->setPixmap(QPixmap::fromImage(picture(QString::number(n) + words[g][c])));
    fillSkins();
    demoCount_ = 0;
}

QString TFormFace::noSkinText() {
    return tr("不用皮肤（用上面的组合）");
}

void TFormFace::changeEvent(QEvent* e) {
    // The skin names are the files' own; the first entry is the window's word.
    if (e->type() == QEvent::LanguageChange && skinBox_->count() > 0)
        skinBox_->setItemText(0, noSkinText());
    QDialog::changeEvent(e);
}

void TFormFace::fillSkins() {
    const QSignalBlocker quiet(skinBox_);
    skinBox_->clear();
    skinBox_->addItem(noSkinText());
    int current = 0;
    for (const SkinFile& f : findSkins(skinFolders(main_.appDir()))) {
        skinBox_->addItem(skinMenuName(f), f.fileName);
        skinBox_->setItemData(skinBox_->count() - 1, QString::fromStdString(f.picture.string()),
                              Qt::UserRole + 1);
        if (f.fileName == main_.skinInUse()) current = skinBox_->count() - 1;
    }
    skinBox_->setCurrentIndex(current);
    showSkinPreview();
}

void TFormFace::showSkinPreview() {
    // The skin's box: enough to tell skins apart, and a skin that cannot be read shows none.
    QPixmap preview;
    if (skinBox_->currentIndex() > 0) {
        const SkinLoad load =
            loadSkin(skinBox_->currentData(Qt::UserRole + 1).toString().toStdString());
        if (load.skin)
            preview = QPixmap::fromImage(load.skin->tiles[4].scaled(
                kTile, kTile, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    skinPreview_->setPixmap(preview);
}

void TFormFace::drawOnMainBoard(int wall, int floor, int box) {
    BoardPainter& painter = main_.painter();
    painter.LoadFace(wall, floor, box);
    painter.DrawBoard();
    main_.boardImage()->update();
}

void TFormFace::ApplyFace() {
    timer1_.stop();
    if (skinBox_->currentIndex() > 0) {
        // A skin that cannot be read leaves the board as it is; the message says why.
        main_.ChangeSkin(skinBox_->currentData().toString());
        return;
    }
    main_.leaveSkin();
    for (int i = 1; i <= 10; ++i)
        main_.action(QString("fengge%1").arg(i))->setChecked(false);
    main_.action("fengge11")->setChecked(true);
    // The custom numbers change; the stored face style does not.
    TGameVar& s = main_.model().settings();
    if (const int n = checkedNumber(0)) s.customWall = static_cast<std::uint8_t>(n);
    if (const int n = checkedNumber(1)) s.customFloor = static_cast<std::uint8_t>(n);
    if (const int n = checkedNumber(2)) s.customBox = static_cast<std::uint8_t>(n);
    drawOnMainBoard(s.customWall, s.customFloor, s.customBox);
}

void TFormFace::Button1Click() {
    timer1_.stop();
    ApplyFace();
    hide();
}

void TFormFace::Button2Click() {
    // The board keeps whatever combination the demonstration showed last.
    timer1_.stop();
    hide();
}

void TFormFace::reject() {
    Button2Click();
}

void TFormFace::bShowFaceClick() {
    if (bShowFace_->text() == tr("演示")) {
        timer1_.start();
        setTr(bShowFace_, kContext, QT_TR_NOOP("停止"));
    } else {
        timer1_.stop();
        setTr(bShowFace_, kContext, QT_TR_NOOP("演示"));
    }
}

void TFormFace::Timer1Timer() {
    const Combination c = combination(demoCount_);
    drawOnMainBoard(c.wall, c.floor, c.box);
    check(0, c.wall);
    check(1, c.floor);
    check(2, c.box);
    demoCount_ = (demoCount_ + 1) % 1000;
}

void TFormFace::keyPressEvent(QKeyEvent* e) {
    FormKeyDown(e);
    if (!e->isAccepted()) QDialog::keyPressEvent(e);
}

void TFormFace::FormKeyDown(QKeyEvent* e) {
    e->ignore();
    if (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) return;
    // The keypad's minus is a different key from the one marked "-" and "_".
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    if (e->key() == Qt::Key_Equal && !keypad) {
        timer1_.setInterval(std::max(timer1_.interval() - 10, 50));
    } else if (e->key() == Qt::Key_Minus && !keypad) {
        timer1_.setInterval(std::min(timer1_.interval() + 10, 2000));
    } else if (e->key() == Qt::Key_N) {
        demoCount_ = (demoCount_ + 1) % 1000;
    } else {
        return;
    }
    e->accept();
}

} // namespace sokoban
