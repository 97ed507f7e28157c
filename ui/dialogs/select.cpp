#include "ui/dialogs/select.h"

#include "storage/file_error.h"
#include "storage/level_set.h"
#include "ui/language.h"
#include "ui/main/main_form.h"
#include "ui/platform/qt_dialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <functional>

namespace sokoban {

namespace {
constexpr const char* kContext = "sokoban::TFormSelect";
}

namespace {
// The built-in sets, in the order a chosen file is compared with them.
const char* const kBuiltinSets[] = {"game.box", "normal.box", "veryhard.box", "easy.box",
                                    "impossible.box"};
// levelSet is one byte: line k is remembered as k + 5.
constexpr int kLastRememberedLine = 250;
} // namespace

TFormSelect::TFormSelect(TMainForm& mainForm, Dialogs* dialogs)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      mainForm_(mainForm), dialogs_(dialogs) {
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    setObjectName("TFormSelect");
    setTr(this, TextRole::WindowTitle, kContext, QT_TR_NOOP("选择游戏"));

    auto* label1 = new QLabel;
    setTr(label1, kContext, QT_TR_NOOP("请将默认游戏以外的游戏文件加到列表中"));
    label1->setObjectName("Label1");
    listBox1_ = new QListWidget;
    listBox1_->setObjectName("ListBox1");
    edit1_ = new QLineEdit;
    edit1_->setObjectName("Edit1");
    edit1_->setReadOnly(true);

    struct Row {
        const char* name;
        const char* caption;
        const char* hint;
        void (TFormSelect::*click)();
    };
    const Row rows[] = {
        {"ButtonSelect", QT_TR_NOOP("确定"), QT_TR_NOOP("选择游戏"),
         &TFormSelect::ButtonSelectClick},
        {"ButtonAdd", QT_TR_NOOP("添加游戏"), QT_TR_NOOP("向游戏列表中添加游戏"),
         &TFormSelect::ButtonAddClick},
        {"ButtonDelete", QT_TR_NOOP("删除游戏"), QT_TR_NOOP("将游戏从游戏列表中删除"),
         &TFormSelect::ButtonDeleteClick},
        {"ButtonCancel", QT_TR_NOOP("取消"), "", &TFormSelect::ButtonCancelClick},
    };
    auto* buttons = new QVBoxLayout;
    for (const Row& r : rows) {
        auto* b = new QPushButton;
        setTr(b, kContext, r.caption);
        b->setObjectName(r.name);
        if (*r.hint) setTr(b, TextRole::ToolTip, kContext, r.hint);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, r.click);
        buttons->addWidget(b);
    }
    buttons->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0, 1, 2);
    grid->addWidget(listBox1_, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(edit1_, 2, 0, 1, 2);
    resize(380, 300);

    connect(listBox1_, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    connect(listBox1_, &QListWidget::itemDoubleClicked, this, [this] { ButtonSelectClick(); });
}

TFormSelect::~TFormSelect() = default;

QPushButton* TFormSelect::button(const QString& name) const {
    return findChild<QPushButton*>(name);
}

std::filesystem::path TFormSelect::lstFile() const {
    return FilePlaces(mainForm_.model().appDir()).listFile();
}

bool TFormSelect::listWork(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const FileError& e) {
        dialogs_->fileError(e);
        return false;
    }
}

void TFormSelect::showDialog() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    show();
}

void TFormSelect::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) FormShow();
    QDialog::showEvent(e);
}

void TFormSelect::FormShow() {
    std::error_code ec;
    if (!std::filesystem::exists(lstFile(), ec))
        if (!listWork([this] { writeGameList(lstFile(), {}); })) return;
    ReadList();
    if (gameCount > 0) listBox1_->setCurrentRow(0);
}

void TFormSelect::ReadList() {
    listBox1_->clear();
    gameList = readGameList(lstFile());
    gameCount = static_cast<int>(gameList.size());
    for (int k = 1; k <= gameCount; ++k)
        listBox1_->addItem(tr("游戏%1").arg(k));
}

void TFormSelect::selectLast() {
    if (gameCount > 0) listBox1_->setCurrentRow(gameCount - 1);
}

void TFormSelect::ListBox1Click() {
    const int i = listBox1_->currentRow();
    if (i < 0 || i >= gameCount) return;
    edit1_->setText(
        tr("选择游戏：%1").arg(QString::fromStdString(gameList[static_cast<std::size_t>(i)])));
}

void TFormSelect::ButtonSelectClick() {
    const int i = listBox1_->currentRow();
    if (i < 0 || i >= gameCount) return;
    const std::string path = gameList[static_cast<std::size_t>(i)];
    GameModel& model = mainForm_.model();
    if (path == model.gameFile()) return;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        dialogs_->error(tr("游戏文件不存在，请从列表中删除！").toStdString());
        return;
    }
    const std::uint8_t remembered = model.settings().levelSet;
    const int line = i + 1;
    model.guarded([&] { model.openListedSet(path, line); });
    // A file the game refused stays in the list and the window stays open.
    if (model.gameFile() != path) return;
    // Lines past the last one a settings byte can name are played but not
    // remembered for the next start.
    if (line > kLastRememberedLine) model.settings().levelSet = remembered;
    hide();
}

void TFormSelect::ButtonAddClick() {
    const auto chosen = dialogs_->openFile(tr("游戏数据文件(*.box)|*.box").toStdString());
    if (!chosen) return;
    const std::string dir = dirPrefix(mainForm_.model().appDir());
    for (const char* name : kBuiltinSets) {
        if (*chosen == dir + name) {
            dialogs_->information(tr("您选择的是默认游戏，不用添加到列表！").toStdString());
            return;
        }
    }
    auto lines = readGameList(lstFile());
    lines.push_back(*chosen);
    if (!listWork([&] { writeGameList(lstFile(), lines); })) return;
    ReadList();
    selectLast();
}

void TFormSelect::ButtonDeleteClick() {
    const int selectedIndex = listBox1_->currentRow();
    std::vector<std::string> kept;
    for (int k = 0; k < gameCount; ++k)
        if (k != selectedIndex) kept.push_back(gameList[static_cast<std::size_t>(k)]);
    if (!listWork([&] { writeGameList(lstFile(), kept); })) return;

    // The remembered choice names a line of the file: keep it on the same
    // level set when an earlier line goes, and fall back to the first
    // built-in set when its own line goes.
    if (selectedIndex >= 0 && selectedIndex < gameCount) {
        std::uint8_t& choice = mainForm_.model().settings().levelSet;
        const int rememberedIndex = choice - 6;
        if (rememberedIndex == selectedIndex)
            choice = 1;
        else if (rememberedIndex > selectedIndex)
            --choice;
    }
    ReadList();
    selectLast();
}

} // namespace sokoban
