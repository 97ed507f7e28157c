#include "messages.h"

#include <QCoreApplication>
#include <QStringList>

namespace sokoban {

namespace {

class Messages {
    Q_DECLARE_TR_FUNCTIONS(Messages)

  public:
    static QString source(MessageId id);
    static QString levelNumbers(const std::vector<std::string>& numbers);
    static QString importSummary(const std::vector<Message>& parts);
};

QString Messages::source(MessageId id) {
    switch (id) {
    case MessageId::None:
        return {};
    case MessageId::FileOperationFailed:
        return tr("文件操作失败：%1\n%2");
    case MessageId::ReasonReadBeyondEnd:
        return tr("读取超出文件末尾");
    case MessageId::ReasonInvalidRecord:
        return tr("无效的记录号");
    case MessageId::ReasonNotPlainFile:
        return tr("不是普通文件");
    case MessageId::ReasonSymbolicLink:
        return tr("是符号链接");
    case MessageId::ReasonReadOnlyFile:
        return tr("文件是只读的");
    case MessageId::ReasonNoFreeName:
        return tr("没有可用的文件名");
    case MessageId::ReasonNoSuchFile:
        return tr("文件不存在");
    case MessageId::ReasonAccessDenied:
        return tr("没有访问权限");
    case MessageId::ReasonNotPermitted:
        return tr("不允许的操作");
    case MessageId::ReasonDiskFull:
        return tr("磁盘空间不足");
    case MessageId::ReasonQuotaExceeded:
        return tr("超出磁盘配额");
    case MessageId::ReasonReadOnlyFileSystem:
        return tr("只读文件系统");
    case MessageId::ReasonIsFolder:
        return tr("是一个文件夹");
    case MessageId::ReasonNotFolder:
        return tr("路径中有一项不是文件夹");
    case MessageId::ReasonFileExists:
        return tr("文件已存在");
    case MessageId::ReasonInputOutput:
        return tr("输入输出错误");
    case MessageId::ReasonFileTooLarge:
        return tr("文件太大");
    case MessageId::ReasonNameTooLong:
        return tr("文件名太长");
    case MessageId::ReasonTooManyLinks:
        return tr("符号链接层数过多");
    case MessageId::ReasonTooManyOpenFiles:
        return tr("打开的文件太多");
    case MessageId::ReasonOutOfMemory:
        return tr("内存不足");
    case MessageId::ReasonBusy:
        return tr("设备或资源忙");
    case MessageId::ReasonFileInUse:
        return tr("文件正被使用");
    case MessageId::ReasonAcrossFileSystems:
        return tr("不能跨文件系统移动");
    case MessageId::ReasonNoSuchDeviceAddress:
        return tr("设备不存在");
    case MessageId::ReasonNoSuchDevice:
        return tr("没有这个设备");
    case MessageId::ReasonInvalidArgument:
        return tr("无效的参数");
    case MessageId::ReasonBadDescriptor:
        return tr("无效的文件描述符");
    case MessageId::ReasonTryAgain:
        return tr("资源暂时不可用");
    case MessageId::ReasonInterrupted:
        return tr("操作被中断");
    case MessageId::ReasonCannotSeek:
        return tr("无法定位");
    case MessageId::ReasonFolderNotEmpty:
        return tr("文件夹不是空的");
    case MessageId::ReasonStaleNetworkFile:
        return tr("网络文件已失效");
    case MessageId::ReasonTimedOut:
        return tr("操作超时");
    case MessageId::ReasonSystemError:
        return tr("系统错误（错误号 %1）");

    case MessageId::AnswerFilter:
        return tr("答案文件(*.ans)|*.ans|所有文件(*.*)|*.*");
    case MessageId::OldLevelSetFilter:
        return tr("游戏文件(*.box)|*.box");
    case MessageId::OpenSetFilter:
        return tr(
            "游戏数据文件(*.box)|*.box|XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt");
    case MessageId::CollectionFilter:
        return tr("XSB/SOK 关卡合集(*.xsb;*.sok;*.txt)|*.xsb;*.sok;*.txt|所有文件(*.*)|*.*");
    case MessageId::XsbFilter:
        return tr("仓库文件(*.xsb)|*.xsb|所有文件(*.*)|*.*");

    case MessageId::CaptionDefaultSet:
        return tr("推箱子      默认关卡  第：%1 关");
    case MessageId::CaptionEasySet:
        return tr("推箱子      入门型游戏  第：%1 关");
    case MessageId::CaptionNormalSet:
        return tr("推箱子      脑力型游戏  第：%1 关");
    case MessageId::CaptionVeryHardSet:
        return tr("推箱子      体力型游戏  第：%1 关");
    case MessageId::CaptionImpossibleSet:
        return tr("推箱子      不可能完成的任务  第：%1 关");
    case MessageId::CaptionOtherSet:
        return tr("推箱子      %1  第：%2 关");
    case MessageId::CaptionXsb:
        return tr("推箱子      %1");
    case MessageId::LevelPanel:
        return tr("当前关卡号：%1 / %2");
    case MessageId::LevelPanelXsb:
        return tr("当前关卡号： / ");
    case MessageId::MovesPanel:
        return tr("移动:%1   ★   最佳移动：%2");
    case MessageId::MovesPanelNoBest:
        return tr("移动:%1   ★   最佳移动：无");
    case MessageId::PushesPanel:
        return tr("推动:%1   ★   最佳推动：%2");
    case MessageId::PushesPanelNoBest:
        return tr("推动:%1   ★   最佳推动：无");
    case MessageId::DeadSquareWarning:
        return tr("  注意：箱子进了死角，本关已经无法完成，请撤销！");
    case MessageId::FrozenBoxWarning:
        return tr("  注意：箱子被卡住了，本关已经无法完成，请撤销！");
    case MessageId::TitlePanelNone:
        return tr("  推箱子 · 把每一个箱子推到目标上");
    case MessageId::TitlePanel:
        return tr("  %1");
    case MessageId::TitleAuthorPanel:
        return tr("  %1  作者：%2");
    case MessageId::UntitledAuthorPanel:
        return tr("  无题  作者：%1");
    case MessageId::TitleLine:
        return tr("关卡名称：     %1；");
    case MessageId::AuthorLine:
        return tr("关卡作者：     %1；");
    case MessageId::CollectionLine:
        return tr("关卡合集：     %1，第 %2 关；");
    case MessageId::LevelStatsLine:
        return tr("本关尝试：     %1 次，用时 %2 分 %3 秒；");
    case MessageId::AnswerFiguresLine:
        return tr("最佳答案：     %1 步，%2 推，%3 条推线，%4 次换箱；");
    case MessageId::CollectionStatsLine:
        return tr("合集进度：     已解 %1 / %2 关，尝试 %3 次，用时 %4 分；");

    case MessageId::SetFileMissing:
        return tr("要读取的文件不存在！");
    case MessageId::BadLevelSetFile:
        return tr("游戏文件格式错误！");
    case MessageId::LevelReadFailed:
        return tr("游戏数据读取错误!");
    case MessageId::XsbFileMissing:
        return tr("读取的文件不存在！");
    case MessageId::FileReadFailed:
        return tr("文件读取错误！");
    case MessageId::LevelTooBig:
        return tr("仓库数据太大或者数据不正确！");
    case MessageId::NoLevelNewOne:
        return tr("游戏文件中没有关卡数据，新建一关！");
    case MessageId::NoLevelOnClipboard:
        return tr("剪贴板中没有关卡！");
    case MessageId::ImportSummary:
        return {}; // the parts, joined
    case MessageId::LevelsImported:
        return tr("已导入 %1 关");
    case MessageId::NoLevelsImported:
        return tr("没有可以导入的关卡");
    case MessageId::TooLargeLeftOut:
        return tr("%1 关过大未能导入：%2");
    case MessageId::NoWorkerLeftOut:
        return tr("%1 关没有搬运工未能导入：%2");
    case MessageId::BeyondLimitLeftOut:
        return tr("%1 关超出一个关卡集的 %2 关未能导入");
    case MessageId::LevelNumbers:
        return tr("第 %1 关");

    case MessageId::AllLevelsUnlocked:
        return tr("哈哈！你可以玩所有的关了！");
    case MessageId::LevelSolved:
        return tr("哈哈！过关了！");
    case MessageId::DemoWatched:
        return tr("看明白了吗？@~*&^%$#@？自己再试试吧！");
    case MessageId::Congratulations:
        return tr("恭喜你通过第%1关！");
    case MessageId::FirstSolve:
        return tr("第一次通过第%1关！移动%2次,推动%3次！");
    case MessageId::BothRecordsBroken:
        return tr("突破移动和推动两个记录!移动%1次,推动%2次！");
    case MessageId::MovesRecordBroken:
        return tr("突破移动记录!移动%1次,推动%2次！");
    case MessageId::PushesRecordBroken:
        return tr("突破推动记录!移动%1次,推动%2次！");
    case MessageId::SolutionStored:
        return tr("已经将解决方案存为解决答案！");
    case MessageId::BetterAnswerStored:
        return tr("您的答案比原答案简洁！已经保存！");
    case MessageId::AllLevelsSolved:
        return tr("你好厉害呀，已经通过游戏所有关卡，试试别的吧！");
    case MessageId::NoUnsolvedLevel:
        return tr("没有别的未解关卡了！");
    case MessageId::SolveThisLevelFirst:
        return tr("先过了这一关再说吧!");
    case MessageId::ChooseLevelCaption:
        return tr("指定关卡");
    case MessageId::ChooseLevelPrompt:
        return tr("关卡号（1-%1）：");
    case MessageId::EnterValidNumber:
        return tr("请输入有效数字!");
    case MessageId::EnterValidLevel:
        return tr("请输入有效关卡号!");
    case MessageId::XsbCannotSave:
        return tr("XSB文件游戏，不能保存！");
    case MessageId::GameSaved:
        return tr("游戏保存到进度%1，当前游戏为第%2关！");
    case MessageId::NoSuchSlot:
        return tr("该进度不存在！");
    case MessageId::LevelTooLargeForSlot:
        return tr("这一关太大，进度存不下！");
    case MessageId::Saved:
        return tr("保存完毕！");

    case MessageId::NoAnswerTryYourself:
        return tr("这一关还没有答案，自己努力吧！");
    case MessageId::ExportAnswerCaption:
        return tr("要导出哪一关的答案？");
    case MessageId::EnterLevelPrompt:
        return tr("输入关卡号：");
    case MessageId::NoAnswerForLevel:
        return tr("本关还没有答案啊！");
    case MessageId::XsbCannotExportAnswer:
        return tr("XSB文件无法导出答案！");
    case MessageId::XsbCannotImportAnswer:
        return tr("XSB文件无法导入答案！");
    case MessageId::AnswerExported:
        return tr("第%1关有答案，已经导出！\r答案文件存为%2");
    case MessageId::AllAnswersSaved:
        return tr("所有有答案的关卡都已经保存！");
    case MessageId::AnswerFileBadLevel:
        return tr("答案文件中的关卡号不正确！");
    case MessageId::AnswerFileEmpty:
        return tr("答案文件中没有答案！");
    case MessageId::NoAnswerOnClipboard:
        return tr("剪贴板中没有答案！答案由 u、d、l、r（移动）和 U、D、L、R（推动）组成。");
    case MessageId::AnswerTooLong:
        return tr("答案太长，一个答案最多 4096 步！");
    case MessageId::AnswerBlockedAtLevel:
        return tr("答案的第 %1 步在第%2关走不通，答案没有导入！");
    case MessageId::AnswerBlocked:
        return tr("答案的第 %1 步在本关走不通！");
    case MessageId::AnswerNotSolvingLevel:
        return tr("这个答案没有解开第%1关，答案没有导入！");
    case MessageId::AnswerNotSolving:
        return tr("这个答案没有解开本关！");
    case MessageId::ImportedAnswerNotBetter:
        return tr("读入的答案不比原答案简洁，原答案保留！");
    case MessageId::SaveImportedAnswer:
        return tr("读入的答案显示为第%1关，是否保存到当前文件中？");
    case MessageId::ImportedAnswerOtherLevel:
        return tr("读入答案所在关卡不是当前关卡，无法演示!");
    case MessageId::ShowAnswerDemo:
        return tr("是否进行答案演示？");

    case MessageId::PositionUnsolvable:
        return tr("当前局面无法过关，请撤销后再试！");
    case MessageId::SolveTimedOut:
        return tr("在%1秒之内没能解出当前局面，已经停止求解。");
    case MessageId::SolveOutOfMemory:
        return tr("解出当前局面需要的内存太多，已经停止求解。");
    case MessageId::PositionInvalid:
        return tr("当前局面无法求解！");
    case MessageId::SolutionTooLongToShow:
        return tr("答案太长，无法演示！");

    case MessageId::LooksConverted:
        return tr("这个文件好像已经是新版本的文件了，真的要转换吗？");
    case MessageId::ConvertDone:
        return tr("转换完毕！");

    case MessageId::Count:
        return {};
    }
    return {};
}

// %1 ... %99 replaced in one pass, so that an argument that itself holds
// "%2" (a file name, say) stays as it is.
QString fill(const QString& pattern, const QStringList& values) {
    QString out;
    const auto digit = [&](qsizetype i) {
        return i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9'
                   ? pattern[i].unicode() - '0'
                   : -1;
    };
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const int first = pattern[i] == '%' ? digit(i + 1) : -1;
        if (first > 0) {
            const int second = digit(i + 2);
            if (second >= 0 && first * 10 + second <= values.size()) {
                out += values[first * 10 + second - 1];
                i += 2;
                continue;
            }
            if (first <= values.size()) {
                out += values[first - 1];
                i += 1;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

QString Messages::levelNumbers(const std::vector<std::string>& numbers) {
    // A long list shows its first levels only.
    constexpr std::size_t kShown = 20;
    QStringList shown;
    for (std::size_t k = 0; k < numbers.size() && k < kShown; ++k)
        shown << QString::fromStdString(numbers[k]);
    const QString list = shown.join(tr("、"));
    return fill(numbers.size() > kShown ? tr("第 %1 等关") : source(MessageId::LevelNumbers),
                {list});
}

QString Messages::importSummary(const std::vector<Message>& parts) {
    // The lead, then each reason: the first after a comma, the others after
    // semicolons.
    QString s;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (k == 1) s += tr("，");
        if (k > 1) s += tr("；");
        s += messageText(parts[k]);
    }
    return s;
}

} // namespace

QString messageText(const Message& m) {
    if (m.id == MessageId::LevelNumbers) return Messages::levelNumbers(m.args);
    if (m.id == MessageId::ImportSummary) return Messages::importSummary(m.parts);
    QStringList values;
    for (const auto& a : m.args)
        values << QString::fromStdString(a);
    for (const auto& p : m.parts)
        values << messageText(p);
    return fill(Messages::source(m.id), values);
}

} // namespace sokoban
