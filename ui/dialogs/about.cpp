#include "ui/dialogs/about.h"

#include "ui/language.h"
#include "ui/pictures/pictures.h"
#include "ui/platform/qt_dialogs.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace sokoban {

HelpCommands::HelpCommands(std::filesystem::path appDir, DesktopIntegration& desktop)
    : appDir_(std::move(appDir)), desktop_(desktop) {}

HelpCommands::~HelpCommands() = default;

std::string HelpCommands::url(const std::string& page) const {
    return QUrl::fromLocalFile(shownPath(helpPage(appDir_, page).string()))
        .toString()
        .toStdString();
}

THelpWindow& HelpCommands::window() const {
    if (!window_) window_ = std::make_unique<THelpWindow>(appDir_, desktop_);
    return *window_;
}

namespace {
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

constexpr const char* kContext = "sokoban::TAboutBox";

QLabel* textLabel(const char* name, const char* source, const QStringList& args = {}) {
    auto* l = new QLabel;
    setTr(l, kContext, source, args);
    l->setObjectName(name);
    return l;
}
} // namespace

TAboutBox::TAboutBox(const HelpCommands& help)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      help_(help) {
    setObjectName("TAboutBox");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("关于"));
    setMouseTracking(true);

    panel1_ = new QFrame;
    panel1_->setObjectName("Panel1");
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1_->setLineWidth(2);
    panel1_->setMouseTracking(true);

    auto* icon = new QLabel;
    icon->setObjectName("ProgramIcon");
    icon->setFixedSize(60, 60);
    icon->setScaledContents(true);
    icon->setPixmap(programIcon().pixmap(64, 64));

    auto* product = textLabel("ProductName", QT_TR_NOOP("推箱子"));
    QFont heiti = product->font();
    heiti.setFamilies({"黑体", "SimHei", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
    heiti.setPixelSize(19);
    product->setFont(heiti);
    auto* version = textLabel("Version", QT_TR_NOOP("版本：%1"), {QStringLiteral("1.30")});

    // The pages lie beside the program: the links say what they lead to.
    label1_ = textLabel("Label1", QT_TR_NOOP("游戏主页：关于本游戏"));
    label2_ = textLabel("Label2", QT_TR_NOOP("联系我们：问题和建议"));
    for (QLabel* link : {label1_, label2_}) {
        link->setCursor(Qt::PointingHandCursor);
        link->setMouseTracking(true);
        link->installEventFilter(this);
        setLink(link, kBlue, false); // until the pointer first comes by
    }
    panel1_->installEventFilter(this);
    installEventFilter(this);

    auto* grid = new QGridLayout(panel1_);
    grid->setContentsMargins(14, 14, 14, 14);
    grid->setHorizontalSpacing(16);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(product, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(textLabel("Label3", QT_TR_NOOP("一个推箱子益智游戏：把每只箱子推到目标上。")),
                    2, 0, 1, 2);
    grid->addWidget(textLabel("Label4", QT_TR_NOOP("关卡、图片、声音和音乐都由本游戏自己生成。")),
                    3, 0, 1, 2);
    grid->addWidget(textLabel("Label5", QT_TR_NOOP("本游戏开发小组编写。")), 4, 0, 1, 2);
    grid->addWidget(label1_, 5, 0, 1, 2);
    grid->addWidget(label2_, 6, 0, 1, 2);

    // Moves over the other labels reach the panel.
    for (QLabel* l : panel1_->findChildren<QLabel*>())
        l->setMouseTracking(true);

    auto* ok = new QPushButton;
    setTr(ok, kContext, QT_TR_NOOP("确定"));
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel1_);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel* TAboutBox::label(const QString& name) const {
    return findChild<QLabel*>(name);
}

void TAboutBox::setLink(QLabel* link, const QColor& colour, bool underline) {
    QFont f = link->font();
    f.setUnderline(underline);
    link->setFont(f);
    QPalette p = link->palette();
    p.setColor(QPalette::WindowText, colour);
    link->setPalette(p);
}

void TAboutBox::Label1MouseMove() {
    setLink(label1_, kRed, false);
    setLink(label2_, kBlue, true);
}

void TAboutBox::Label2MouseMove() {
    setLink(label2_, kRed, false);
    setLink(label1_, kBlue, true);
}

void TAboutBox::PanelMouseMove() {
    setLink(label1_, kBlue, true);
    setLink(label2_, kBlue, true);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == label1_ || watched == label2_) {
        const bool isWeb = watched == label1_;
        if (type == QEvent::MouseMove || (!isWeb && type == QEvent::MouseButtonPress)) {
            isWeb ? Label1MouseMove() : Label2MouseMove();
            return true;
        }
        if (type == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            isWeb ? help_.mMyWebClick() : help_.mEmailClick();
            return true;
        }
    } else if ((watched == panel1_ || watched == this) && type == QEvent::MouseMove) {
        PanelMouseMove();
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::showBox() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    show();
}

void TAboutBox::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) {
        adjustSize();
        if (const QScreen* s = screen())
            move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(e);
}

} // namespace sokoban
