#include "ui/dialogs/infor.h"

#include "session/level_text_play.h"
#include "storage/file_error.h"
#include "ui/language.h"
#include "ui/main/main_form.h"
#include "ui/messages.h"
#include "ui/platform/qt_dialogs.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace sokoban {

namespace {

std::string num(long long n) {
    return std::to_string(n);
}

// A line of the window in the language of the moment.
std::string line(const char* source, const std::string& arg = {}) {
    return translated("sokoban::Tforminfor", source, {QString::fromStdString(arg)}).toStdString();
}

// Whether each level of the .sol file has an answer: its record's move
// count (bytes 2 and 3) is not 0.
std::vector<bool> answeredLevels(const std::filesystem::path& solFile) {
    std::ifstream in(solFile, std::ios::binary);
    if (!in) throw FileError(solFile, errno);
    std::vector<bool> answered;
    std::vector<char> record(TAnswerData::kSize);
    while (in.read(record.data(), static_cast<std::streamsize>(record.size())))
        answered.push_back(record[2] != 0 || record[3] != 0);
    if (in.bad()) throw FileError(solFile, errno);
    return answered;
}

} // namespace

void inforLines(const GameModel& model, std::vector<std::string>& lines) {
    if (model.xsbMode()) {
        lines.push_back(
            line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "当前游戏文件： %1；"), model.xsbFile()));
        for (const auto& l : LevelTextCommands::titleLines(model))
            lines.push_back(messageText(l).toStdString());
        return;
    }
    lines.push_back(
        line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "当前游戏文件： %1；"), model.gameFile()));
    lines.push_back(line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "当前游戏共有： %1 关；"),
                         num(model.levelCount())));
    if (model.maxLevel() < model.levelCount())
        lines.push_back(line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "您已经通过：   %1   关；"),
                             num(model.maxLevel() - 1)));
    else
        lines.push_back(line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "您已经通过：   %1 关；"),
                             num(model.maxLevel())));
    lines.push_back(line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "您正在玩第     %1 关；"),
                         num(model.curLevel())));
    for (const auto& l : LevelTextCommands::titleLines(model))
        lines.push_back(messageText(l).toStdString());
    lines.push_back(
        model.bestMoves() != 0
            ? line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "当前关卡的最佳移动步数：%1 步"),
                   num(model.bestMoves()))
            : line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "当前关卡的最佳移动步数：    无")));
    lines.push_back(
        model.bestPushes() != 0
            ? line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "当前关卡的最佳推动步数：%1 步"),
                   num(model.bestPushes()))
            : line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "当前关卡的最佳推动步数：    无")));
    lines.push_back(line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "您的移动步数：%1 步"),
                         num(model.moveCount())));
    lines.push_back(line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "您的推动步数：%1 步"),
                         num(model.pushCount())));
    lines.push_back("");
    const std::vector<bool> answered = answeredLevels(model.files().sol.path());
    std::string with = line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "有答案的关："));
    std::string without = line(QT_TRANSLATE_NOOP("sokoban::Tforminfor", "没有答案的关："));
    // Each number with the list's separator after it.
    const char* const item = QT_TRANSLATE_NOOP("sokoban::Tforminfor", "%1、");
    for (std::size_t k = 0; k < answered.size(); ++k)
        (answered[k] ? with : without) += line(item, num(static_cast<long long>(k) + 1));
    lines.push_back(with);
    lines.push_back(without);
}

Tforminfor::Tforminfor(TMainForm& mainForm, Dialogs* dialogs)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      mainForm_(mainForm), dialogs_(dialogs) {
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<QtDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    setObjectName("Tforminfor");
    setTr(this, TextRole::WindowTitle, "sokoban::Tforminfor", QT_TR_NOOP("游戏信息"));
    memo1_ = new QPlainTextEdit;
    memo1_->setObjectName("Memo1");
    memo1_->setReadOnly(true);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* ok = new QPushButton;
    setTr(ok, "sokoban::Tforminfor", QT_TR_NOOP("确定"));
    ok->setObjectName("Button1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &Tforminfor::Button1Click);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo1_);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    resize(440, 320);
}

Tforminfor::~Tforminfor() = default;

QString Tforminfor::text() const {
    return memo1_->toPlainText();
}

void Tforminfor::showDialog() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    show();
}

void Tforminfor::showEvent(QShowEvent* e) {
    if (!e->spontaneous()) FormShow();
    QDialog::showEvent(e);
}

void Tforminfor::FormShow() {
    memo1_->clear();
    std::vector<std::string> lines;
    try {
        inforLines(mainForm_.model(), lines);
    } catch (const FileError& e) {
        // The lines made so far stay.
        dialogs_->fileError(e);
    }
    for (const auto& l : lines)
        memo1_->appendPlainText(QString::fromStdString(l));
    memo1_->moveCursor(QTextCursor::Start);
}

void Tforminfor::Button1Click() {
    memo1_->clear();
    hide();
}

} // namespace sokoban
