#include "ui/dialogs/option.h"

#include "storage/play_options.h"
#include "ui/language.h"
#include "ui/main/assist_menu.h"
#include "ui/main/main_form.h"
#include "ui/main/solver_runner.h"
#include "ui/platform/qt_dialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>

namespace sokoban {

namespace {

// The translation context of the window's texts, as lupdate names it.
constexpr const char* kContext = "sokoban::TPagesDlg";

struct RadioRow {
    const char* name;
    const char* caption;
};

// A group of radio buttons named prefix1, prefix2, ...
QGroupBox* radioGroup(const char* title, const QString& prefix,
                      std::initializer_list<const char*> captions, bool across = false) {
    auto* box = new QGroupBox;
    setTr(box, TextRole::Title, kContext, title);
    QBoxLayout* layout = across ? static_cast<QBoxLayout*>(new QHBoxLayout(box))
                                : static_cast<QBoxLayout*>(new QVBoxLayout(box));
    int n = 0;
    for (const char* caption : captions) {
        auto* rb = new QRadioButton;
        setTr(rb, kContext, caption);
        rb->setObjectName(prefix + QString::number(++n));
        layout->addWidget(rb);
    }
    layout->addStretch();
    return box;
}

struct InstallRow {
    const char* createName;
    const char* createCaption;
    const char* createHint;
    const char* deleteName;
    const char* deleteHint;
};

constexpr InstallRow kInstallRows[] = {
    {"btCreateFileAss", QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "创建BOX文件关联"),
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "使*.box文件和程序关联"), "btDeleteFileAss",
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "删除*.box文件关联")},
    {"Button1", QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "创建XSB文件关联"),
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "使*.XSB文件和程序关联"), "Button2",
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "删除*.XSB文件关联")},
    {"btCreateDesk", QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "创建桌面快捷方式"),
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "在桌面建立游戏快捷方式"), "btDeleteDesk",
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "删除桌面上的快捷方式")},
    {"btCreatestart", QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "创建开始菜单快捷方式"),
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "在开始菜单中创建游戏快捷方式"), "btDeletestart",
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "删除开始菜单中的快捷方式")},
    {"btcreateprogram", QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "创建程序菜单快捷方式"),
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "在程序菜单中创建游戏快捷方式"), "btdeleteprogram",
     QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "删除程序菜单中的游戏快捷方式")},
};

// The solver's time limits offered, solvetime1..4, in seconds.
constexpr int kSolveSeconds[] = {10, 30, 60, TPlayOptions::kNoLimit};

// The names the desktop keeps the shortcuts and file types under: the same
// in every language, so that a shortcut made in one is found in the other.
const char* const kLinkName = "推箱子";
const char* const kBoxType = "推箱子游戏文件";
const char* const kXsbType = "XSB推箱子仓库文件";

const char* const kShortcutCreated[] = {
    QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "已经在桌面上创建了游戏的快捷方式!"),
    QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "已经在开始菜单中创建了游戏的快捷方式!"),
    QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "已经在程序菜单中创建了游戏的快捷方式!")};
const char* const kShortcutDeleted[] = {
    QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "已经删除了游戏在桌面上的快捷方式!"),
    QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "已经删除了游戏在开始菜单中的快捷方式!"),
    QT_TRANSLATE_NOOP("sokoban::TPagesDlg", "已经删除了游戏在程序菜单中的快捷方式!")};

std::string words(const char* source) {
    return QCoreApplication::translate(kContext, source).toStdString();
}

// "*.box" / "*.xsb" as the messages write it.
std::string pattern(const std::string& extension) {
    return extension == ".xsb" ? "*.xsb" : "*.box";
}

} // namespace

std::unique_ptr<DesktopIntegration> makeUserDesktop(const std::filesystem::path& appDir) {
    std::error_code ec;
    const std::filesystem::path icon = appDir / "sokoban.png";
    return std::make_unique<FreedesktopIntegration>(
        DesktopFolders::forCurrentUser(), true,
        std::filesystem::exists(icon, ec) ? icon : std::filesystem::path());
}

TPagesDlg::TPagesDlg(TMainForm& mainForm, DesktopIntegration& desktop, Dialogs* dialogs,
                     std::string programPath)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint), mainForm_(mainForm),
      desktop_(desktop), dialogs_(dialogs), programPath_(std::move(programPath)) {
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    if (programPath_.empty()) programPath_ = QCoreApplication::applicationFilePath().toStdString();
    setObjectName("TPagesDlg");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("选项"));

    auto* pages = new QTabWidget;
    pages->setObjectName("PageControl1");
    auto* basic = new QWidget;
    auto* install = new QWidget;
    auto* other = new QWidget;
    buildBasicPage(basic);
    buildInstallPage(install);
    buildOtherPage(other);
    pages->addTab(basic, QString());
    pages->addTab(install, QString());
    pages->addTab(other, QString());
    setTr(basic, TextRole::TabText, kContext, QT_TR_NOOP("基本设置"));
    setTr(install, TextRole::TabText, kContext, QT_TR_NOOP("游戏安装"));
    setTr(other, TextRole::TabText, kContext, QT_TR_NOOP("其它设置"));

    auto* ok = new QPushButton;
    setTr(ok, kContext, QT_TR_NOOP("确定"));
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    auto* cancel = new QPushButton;
    setTr(cancel, kContext, QT_TR_NOOP("取消"));
    cancel->setObjectName("CancelBtn");
    connect(ok, &QPushButton::clicked, this, &TPagesDlg::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &TPagesDlg::CancelBtnClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttons);

    // The controls are found by name once they all belong to the window.
    connect(control("BitBtn1"), &QAbstractButton::clicked, this, &TPagesDlg::BitBtn1Click);
    for (int n = 1; n <= 5; ++n)
        connect(control(QString("music%1").arg(n)), &QAbstractButton::clicked, this,
                [this, n] { musicClick(n); });
    auto on = [this](const char* name, auto fn) {
        connect(control(name), &QAbstractButton::clicked, this, fn);
    };
    on("btCreateFileAss", [this] { RegisterFileType(".box", kBoxType); });
    on("btDeleteFileAss", [this] { UnregisterFileType(".box", kBoxType); });
    on("Button1", [this] { RegisterFileType(".xsb", kXsbType); });
    on("Button2", [this] { UnregisterFileType(".xsb", kXsbType); });
    on("btCreateDesk", [this] { CreateShortcut(0, programPath_, kLinkName); });
    on("btDeleteDesk", [this] { DeleteShortcut(0, programPath_, kLinkName); });
    on("btCreatestart", [this] { CreateShortcut(1, programPath_, kLinkName); });
    on("btDeletestart", [this] { DeleteShortcut(1, programPath_, kLinkName); });
    on("btcreateprogram", [this] { CreateShortcut(2, programPath_, kLinkName); });
    on("btdeleteprogram", [this] { DeleteShortcut(2, programPath_, kLinkName); });
}

TPagesDlg::~TPagesDlg() = default;

void TPagesDlg::buildBasicPage(QWidget* page) {
    auto* music = radioGroup(QT_TR_NOOP("背景音乐"), "music",
                             {QT_TR_NOOP("乐曲1"), QT_TR_NOOP("乐曲2"), QT_TR_NOOP("乐曲3"),
                              QT_TR_NOOP("乐曲4"), QT_TR_NOOP("乐曲5")});
    auto* apply = new QPushButton;
    setTr(apply, kContext, QT_TR_NOOP("应用"));
    apply->setObjectName("BitBtn1");
    setTr(apply, TextRole::ToolTip, kContext, QT_TR_NOOP("应用选择的音乐"));
    music->layout()->addWidget(apply);

    auto* grid = new QGridLayout(page);
    grid->addWidget(music, 0, 0, 3, 1);
    const auto speeds = {QT_TR_NOOP("快速"), QT_TR_NOOP("中速"), QT_TR_NOOP("慢速")};
    grid->addWidget(radioGroup(QT_TR_NOOP("移动速度"), "movespeed", speeds, true), 0, 1);
    grid->addWidget(radioGroup(QT_TR_NOOP("演示速度"), "autospeed", speeds, true), 1, 1);
    grid->addWidget(radioGroup(QT_TR_NOOP("背景显示方式"), "backstyle",
                               {QT_TR_NOOP("居中"), QT_TR_NOOP("平铺"), QT_TR_NOOP("拉伸")}, true),
                    2, 1);
    grid->setColumnStretch(1, 1);
}

void TPagesDlg::buildInstallPage(QWidget* page) {
    auto* box = new QGroupBox;
    setTr(box, TextRole::Title, kContext, QT_TR_NOOP("安装"));
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (const auto& r : kInstallRows) {
        auto* create = new QPushButton;
        setTr(create, kContext, r.createCaption);
        create->setMinimumWidth(create->sizeHint().width() + 24);
        create->setObjectName(r.createName);
        setTr(create, TextRole::ToolTip, kContext, r.createHint);
        auto* remove = new QPushButton;
        setTr(remove, kContext, QT_TR_NOOP("删除"));
        remove->setObjectName(r.deleteName);
        setTr(remove, TextRole::ToolTip, kContext, r.deleteHint);
        grid->addWidget(create, row, 0);
        grid->addWidget(remove, row, 1);
        ++row;
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(box);
    layout->addStretch();
}

void TPagesDlg::buildOtherPage(QWidget* page) {
    auto* faces = new QGroupBox;
    setTr(faces, TextRole::Title, kContext, QT_TR_NOOP("过关界面变换"));
    auto* cbrandomface = new QCheckBox;
    setTr(cbrandomface, kContext, QT_TR_NOOP("每一关随机变换界面风格"));
    cbrandomface->setObjectName("cbrandomface");
    auto* rbUseCustom = new QRadioButton;
    setTr(rbUseCustom, kContext, QT_TR_NOOP("使用游戏默认的组合方式"));
    rbUseCustom->setObjectName("rbUseCustom");
    auto* rbUseRandom = new QRadioButton;
    setTr(rbUseRandom, kContext, QT_TR_NOOP("使用随机组合方式"));
    rbUseRandom->setObjectName("rbUseRandom");
    auto* facesLayout = new QVBoxLayout(faces);
    facesLayout->addWidget(cbrandomface);
    facesLayout->addWidget(rbUseCustom);
    facesLayout->addWidget(rbUseRandom);

    auto* cbContinue = new QCheckBox;
    setTr(cbContinue, kContext, QT_TR_NOOP("答案演示使用单步方式"));
    cbContinue->setObjectName("cbContinue");
    setTr(cbContinue, TextRole::ToolTip, kContext, QT_TR_NOOP("选中后按\"N\"键单步演示答案"));
    auto* cbshowhint = new QCheckBox;
    setTr(cbshowhint, kContext, QT_TR_NOOP("过关后不显示详细提示信息"));
    cbshowhint->setObjectName("cbshowhint");
    auto* cbShortestWalk = new QCheckBox;
    setTr(cbShortestWalk, kContext, QT_TR_NOOP("最短路径行走"));
    cbShortestWalk->setObjectName("cbShortestWalk");
    setTr(cbShortestWalk, TextRole::ToolTip, kContext,
          QT_TR_NOOP("点击远处的地面时沿最短的路走过去"));

    auto* solveTime = radioGroup(
        QT_TR_NOOP("求解时间限制"), "solvetime",
        {QT_TR_NOOP("10秒"), QT_TR_NOOP("30秒"), QT_TR_NOOP("60秒"), QT_TR_NOOP("无限制")}, true);
    solveTime->setObjectName("gbSolveTime");
    setTr(solveTime, TextRole::ToolTip, kContext,
          QT_TR_NOOP("提示、求解和检查能否过关最多等待的时间"));
    auto* animate =
        radioGroup(QT_TR_NOOP("动画"), "animate", {QT_TR_NOOP("开"), QT_TR_NOOP("关")}, true);
    animate->setObjectName("gbAnimate");
    setTr(animate, TextRole::ToolTip, kContext, QT_TR_NOOP("人和箱子从一格平滑地走到下一格"));
    auto* solveRow = new QHBoxLayout;
    solveRow->addWidget(solveTime, 1);
    solveRow->addWidget(animate);

    auto* language =
        radioGroup(QT_TR_NOOP("语言"), "language",
                   {QT_TR_NOOP("跟随系统"), QT_TR_NOOP("中文"), QT_TR_NOOP("English")}, true);
    language->setObjectName("gbLanguage");

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(faces);
    layout->addWidget(cbContinue);
    layout->addWidget(cbshowhint);
    layout->addWidget(cbShortestWalk);
    layout->addLayout(solveRow);
    layout->addWidget(language);
    layout->addStretch();
}

QAbstractButton* TPagesDlg::control(const QString& name) const {
    return findChild<QAbstractButton*>(name);
}

bool TPagesDlg::checked(const QString& name) const {
    return control(name)->isChecked();
}

void TPagesDlg::setChecked(const QString& name, bool on) {
    control(name)->setChecked(on);
}

int TPagesDlg::selected(const QString& prefix, int count) const {
    for (int n = 1; n <= count; ++n)
        if (checked(prefix + QString::number(n))) return n;
    return 0;
}

void TPagesDlg::showDialog() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    show();
}

void TPagesDlg::showEvent(QShowEvent* e) {
    // Restoring a minimised window is no new showing.
    if (!e->spontaneous()) {
        FormShow();
        adjustSize();
        if (const QScreen* s = screen())
            move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(e);
}

void TPagesDlg::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    // Captions of another length: the window takes the size they need.
    if (e->type() == QEvent::LanguageChange && isVisible()) {
        layout()->activate();
        adjustSize();
    }
}

void TPagesDlg::FormShow() {
    const TGameVar& s = mainForm_.model().settings();
    setChecked("cbContinue", s.stepDemo == 1);
    // A value out of range selects nothing rather than a wrong button.
    auto pick = [this](const QString& prefix, int count, int value) {
        for (int n = 1; n <= count; ++n) {
            auto* b = control(prefix + QString::number(n));
            b->setAutoExclusive(false);
            b->setChecked(n == value);
            b->setAutoExclusive(true);
        }
    };
    pick("music", 5, s.musicNo);
    pick("movespeed", 3, s.moveSpeed);
    pick("autospeed", 3, s.demoSpeed);
    pick("backstyle", 3, s.backStyle);
    setChecked("cbrandomface", s.randomFace == 1);
    setChecked(s.randomCombo == 1 ? "rbUseRandom" : "rbUseCustom", true);
    setChecked("cbshowhint", s.noPassInfo == 1);
    setChecked("cbShortestWalk", mainForm_.model().playOptions().shortestWalk == 1);
    const auto seconds = mainForm_.model().playOptions().solveSeconds;
    pick("animate", 2, mainForm_.model().playOptions().animate == 1 ? 1 : 2);
    pick("language", 3, static_cast<int>(loadLanguageChoice(mainForm_.model().appDir())) + 1);
    pick("solvetime", 4,
         static_cast<int>(std::find(std::begin(kSolveSeconds), std::end(kSolveSeconds), seconds) -
                          std::begin(kSolveSeconds)) +
             1);
}

void TPagesDlg::OKBtnClick() {
    TGameVar& s = mainForm_.model().settings();
    auto keep = [this](std::uint8_t& field, const QString& prefix) {
        if (const int n = selected(prefix, 3)) field = static_cast<std::uint8_t>(n);
    };
    keep(s.backStyle, "backstyle");
    keep(s.demoSpeed, "autospeed");
    keep(s.moveSpeed, "movespeed");
    s.stepDemo = checked("cbContinue") ? 1 : 0;
    s.randomFace = checked("cbrandomface") ? 1 : 0;
    s.randomCombo = checked("rbUseRandom") ? 1 : 0;
    s.noPassInfo = checked("cbshowhint") ? 1 : 0;
    TPlayOptions& assist = mainForm_.model().playOptions();
    const TPlayOptions assistBefore = assist;
    assist.shortestWalk = checked("cbShortestWalk") ? 1 : 0;
    if (const int n = selected("animate", 2)) assist.animate = n == 1 ? 1 : 0;
    if (assist.animate == 0) mainForm_.animator().finish();
    // A limit none of the buttons offers (written by hand) stays unless
    // another is chosen.
    if (const int n = selected("solvetime", 4))
        assist.solveSeconds = static_cast<std::int16_t>(kSolveSeconds[n - 1]);
    solverRunner(mainForm_).assistant().timeSeconds = assist.solveSeconds;
    if (!(assist == assistBefore)) saveAssistOptions(mainForm_);
    // The painter keeps the working copy of the mode; the speeds are read
    // from the settings when a walk or demonstration starts.
    mainForm_.painter().backStyle = s.backStyle;
    hide();
    // Last: the new words reach every window, this one too.
    if (const int n = selected("language", 3)) {
        const auto choice = static_cast<LanguageChoice>(n - 1);
        const auto& appDir = mainForm_.model().appDir();
        if (choice != loadLanguageChoice(appDir)) {
            try {
                saveLanguageChoice(appDir, choice);
            } catch (const FileError& e) {
                dialogs_->fileError(e);
            }
            applyLanguage(resolve(choice, environment()), appDir);
        }
    }
}

void TPagesDlg::CancelBtnClick() {
    hide();
}

void TPagesDlg::musicClick(int n) {
    mainForm_.model().settings().musicNo = static_cast<std::uint8_t>(n);
}

void TPagesDlg::BitBtn1Click() {
    mainForm_.PlayMusic();
}

bool TPagesDlg::desktopWork(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const std::filesystem::filesystem_error& e) {
        // Reported instead of the message that says it worked.
        dialogs_->fileError(FileError(e.path1(), e.code().value()));
        return false;
    }
}

void TPagesDlg::RegisterFileType(const std::string& extension, const std::string& typeName) {
    if (!desktopWork([&] { desktop_.registerFileType(extension, typeName, programPath_); })) return;
    const std::string p = pattern(extension);
    dialogs_->information(
        translated(kContext,
                   QT_TR_NOOP("已经为%1文件与游戏建立了关联！\n您以后可以通过双击%1文件进行游戏！"),
                   {QString::fromStdString(p)})
            .toStdString());
}

void TPagesDlg::UnregisterFileType(const std::string& extension, const std::string& typeName) {
    if (!desktopWork([&] { desktop_.unregisterFileType(extension, typeName); })) return;
    const std::string p = pattern(extension);
    dialogs_->information(
        translated(kContext,
                   QT_TR_NOOP("已经删除了%1文件与游戏的关联！\n您以后不能通过双击%1文件进行游戏！"),
                   {QString::fromStdString(p)})
            .toStdString());
}

void TPagesDlg::CreateShortcut(int folderIndex, const std::string& target,
                               const std::string& linkName) {
    const ShortcutFolder folder = shortcutFolder(folderIndex);
    bool created = false;
    if (!desktopWork([&] { created = desktop_.createShortcut(folder, target, linkName); })) return;
    if (created) dialogs_->information(words(kShortcutCreated[static_cast<int>(folder)]));
}

void TPagesDlg::DeleteShortcut(int folderIndex, const std::string&, const std::string& linkName) {
    const ShortcutFolder folder = shortcutFolder(folderIndex);
    bool deleted = false;
    if (!desktopWork([&] { deleted = desktop_.deleteShortcut(folder, linkName); })) return;
    if (deleted) dialogs_->information(words(kShortcutDeleted[static_cast<int>(folder)]));
}

} // namespace sokoban
