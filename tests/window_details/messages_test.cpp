// The words of the model's messages: every message has its sentence, every
// argument lands in it, and the sentences read as the game has always
// written them.
#include "session/dialogs.h"
#include "ui/messages.h"

#include <QRegularExpression>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <gtest/gtest.h>
#include <map>

namespace sokoban {
namespace {

using Id = MessageId;

// How many arguments (and parts) fill each message; the others take none.
const std::map<Id, int> kArguments = {
    {Id::FileOperationFailed, 2},  {Id::ReasonSystemError, 1},
    {Id::CaptionDefaultSet, 1},    {Id::CaptionEasySet, 1},
    {Id::CaptionNormalSet, 1},     {Id::CaptionVeryHardSet, 1},
    {Id::CaptionImpossibleSet, 1}, {Id::CaptionOtherSet, 2},
    {Id::CaptionXsb, 1},           {Id::LevelPanel, 2},
    {Id::MovesPanel, 2},           {Id::MovesPanelNoBest, 1},
    {Id::PushesPanel, 2},          {Id::PushesPanelNoBest, 1},
    {Id::TitlePanel, 1},           {Id::TitleAuthorPanel, 2},
    {Id::UntitledAuthorPanel, 1},  {Id::TitleLine, 1},
    {Id::AuthorLine, 1},           {Id::LevelsImported, 1},
    {Id::TooLargeLeftOut, 2},      {Id::NoWorkerLeftOut, 2},
    {Id::BeyondLimitLeftOut, 2},   {Id::Congratulations, 1},
    {Id::FirstSolve, 3},           {Id::BothRecordsBroken, 2},
    {Id::MovesRecordBroken, 2},    {Id::PushesRecordBroken, 2},
    {Id::ChooseLevelPrompt, 1},    {Id::GameSaved, 2},
    {Id::AnswerExported, 2},       {Id::AnswerBlockedAtLevel, 2},
    {Id::AnswerBlocked, 1},        {Id::AnswerNotSolvingLevel, 1},
    {Id::SaveImportedAnswer, 1},   {Id::SolveTimedOut, 1},
    {Id::CollectionLine, 2},       {Id::LevelStatsLine, 3},
    {Id::AnswerFiguresLine, 4},    {Id::CollectionStatsLine, 4},
};

std::string text(const Message& m) {
    return messageText(m).toStdString();
}

// Each message has a sentence, and it takes in each of its arguments once:
// a placeholder missing, doubled or numbered past the arguments shows here.
TEST(MessageTexts, EveryMessageHasItsSentenceWithEachArgumentIn) {
    static const QRegularExpression placeholder("%[0-9]");
    for (int i = 0; i < static_cast<int>(Id::Count); ++i) {
        const auto id = static_cast<Id>(i);
        // No text, or the texts of their parts (tested below).
        if (id == Id::None || id == Id::ImportSummary || id == Id::LevelNumbers) continue;
        SCOPED_TRACE(i);
        const auto found = kArguments.find(id);
        const int count = found == kArguments.end() ? 0 : found->second;
        Message m(id);
        for (int k = 1; k <= count; ++k)
            m.args.push_back("<" + std::to_string(k) + ">");
        const QString shown = messageText(m);
        EXPECT_FALSE(shown.trimmed().isEmpty());
        EXPECT_FALSE(shown.contains(placeholder)) << shown.toStdString();
        for (const auto& a : m.args)
            EXPECT_EQ(shown.count(QString::fromStdString(a)), 1) << shown.toStdString();
    }
    EXPECT_EQ(messageText(Message()), "");
}

// The sentences word for word, the player's language being the source.
TEST(MessageTexts, SentencesReadAsTheGameWritesThem) {
    const struct {
        Message message;
        const char* shown;
    } cases[] = {
        {{Id::CaptionDefaultSet, 2}, "推箱子      默认关卡  第：2 关"},
        {{Id::CaptionOtherSet, "/x/my.box", 12}, "推箱子      /x/my.box  第：12 关"},
        {{Id::CaptionXsb, "/x/one.xsb"}, "推箱子      /x/one.xsb"},
        {{Id::LevelPanel, 1, 3}, "当前关卡号：1 / 3"},
        {{Id::LevelPanelXsb}, "当前关卡号： / "},
        {{Id::MovesPanel, 7, 1}, "移动:7   ★   最佳移动：1"},
        {{Id::MovesPanelNoBest, 0}, "移动:0   ★   最佳移动：无"},
        {{Id::PushesPanel, 3, 1}, "推动:3   ★   最佳推动：1"},
        {{Id::PushesPanelNoBest, 0}, "推动:0   ★   最佳推动：无"},
        {{Id::TitlePanelNone}, "  推箱子 · 把每一个箱子推到目标上"},
        {{Id::TitleAuthorPanel, "小仓库", "Ann"}, "  小仓库  作者：Ann"},
        {{Id::UntitledAuthorPanel, "Ann"}, "  无题  作者：Ann"},
        {{Id::TitleLine, "小仓库"}, "关卡名称：     小仓库；"},
        {{Id::FirstSolve, 1, 8, 3}, "第一次通过第1关！移动8次,推动3次！"},
        {{Id::MovesRecordBroken, 6, 3}, "突破移动记录!移动6次,推动3次！"},
        {{Id::DemoWatched}, "看明白了吗？@~*&^%$#@？自己再试试吧！"},
        {{Id::ChooseLevelPrompt, 1}, "关卡号（1-1）："},
        {{Id::GameSaved, 3, 3}, "游戏保存到进度3，当前游戏为第3关！"},
        {{Id::AnswerExported, 2, "/g/game0002.ans"},
         "第2关有答案，已经导出！\r答案文件存为/g/game0002.ans"},
        {{Id::AnswerBlockedAtLevel, 2, 1}, "答案的第 2 步在第1关走不通，答案没有导入！"},
        {{Id::SolveTimedOut, 1}, "在1秒之内没能解出当前局面，已经停止求解。"},
        {{Id::AnswerFilter}, "答案文件(*.ans)|*.ans|所有文件(*.*)|*.*"},
        {fileErrorMessage(FileError("/home/p/a.sav", FileReason::NotPlainFile)),
         "文件操作失败：/home/p/a.sav\n不是普通文件"},
        {fileErrorMessage(FileError("/a", 9999)), "文件操作失败：/a\n系统错误（错误号 9999）"},
        {fileErrorMessage(FileError("/a", ENOSPC)), "文件操作失败：/a\n磁盘空间不足"},
        // An argument that looks like a placeholder stays as it is.
        {{Id::CaptionOtherSet, "/x/%2 and %1.box", 4}, "推箱子      /x/%2 and %1.box  第：4 关"},
        {{Id::FileOperationFailed, "/x/100%1", "无法读取图片文件。"},
         "文件操作失败：/x/100%1\n无法读取图片文件。"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(c.message), c.shown);
}

Message numbers(int from, int to) {
    Message m(Id::LevelNumbers);
    for (int n = from; n <= to; ++n)
        m.args.push_back(std::to_string(n));
    return m;
}

Message summary(std::vector<Message> parts) {
    Message m(Id::ImportSummary);
    m.parts = std::move(parts);
    return m;
}

Message leftOut(Id id, int count, Message list) {
    Message m(id, count);
    m.parts.push_back(std::move(list));
    return m;
}

// Levels left out of a collection: the lead, then each reason, with the
// level numbers listed up to twenty.
TEST(MessageTexts, LevelsLeftOutOfACollection) {
    std::string twenty;
    for (int n = 1; n <= 20; ++n)
        twenty += (n > 1 ? "、" : "") + std::to_string(n);
    const struct {
        Message message;
        std::string shown;
    } cases[] = {
        {summary({{Id::LevelsImported, 17},
                  leftOut(Id::TooLargeLeftOut, 2, {Id::LevelNumbers, 7, 12}),
                  leftOut(Id::NoWorkerLeftOut, 1, {Id::LevelNumbers, 15})}),
         "已导入 17 关，2 关过大未能导入：第 7、12 关；1 关没有搬运工未能导入：第 15 关"},
        {summary({{Id::LevelsImported, 1}, leftOut(Id::TooLargeLeftOut, 1, numbers(2, 2))}),
         "已导入 1 关，1 关过大未能导入：第 2 关"},
        {summary({Id::NoLevelsImported, leftOut(Id::TooLargeLeftOut, 2, numbers(1, 2))}),
         "没有可以导入的关卡，2 关过大未能导入：第 1、2 关"},
        {summary({{Id::LevelsImported, 32767}, {Id::BeyondLimitLeftOut, 5, 32767}}),
         "已导入 32767 关，5 关超出一个关卡集的 32767 关未能导入"},
        {numbers(1, 20), "第 " + twenty + " 关"},
        {numbers(1, 21), "第 " + twenty + " 等关"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(c.message), c.shown);
}

// Every system error number reads in the player's language, a number the
// game has no words for with the number.
TEST(MessageTexts, SystemReasonsAreWordedWhateverTheNumber) {
    const struct {
        int err;
        const char* reason;
    } cases[] = {{ENOENT, "文件不存在"},    {EACCES, "没有访问权限"}, {ENOSPC, "磁盘空间不足"},
                 {EROFS, "只读文件系统"},   {EISDIR, "是一个文件夹"}, {ENFILE, "打开的文件太多"},
                 {EMFILE, "打开的文件太多"}};
    const auto reason = [](int err) {
        const Message m = fileErrorMessage(FileError("/f", err));
        return m.parts.empty() ? std::string() : text(m.parts.front());
    };
    for (const auto& c : cases)
        EXPECT_EQ(reason(c.err), c.reason) << c.err;
    for (int err = 0; err < 140; ++err) {
        const std::string r = reason(err);
        EXPECT_FALSE(r.empty()) << err;
        EXPECT_TRUE(std::none_of(r.begin(), r.end(), [](char ch) { return std::isalpha(ch); }))
            << err << ": " << r;
    }
}

} // namespace
} // namespace sokoban
