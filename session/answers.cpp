// Stored answers: the demonstration that replays one, and the .ans files
// that carry answers between players.
#include "game_model.h"

#include "storage/level_text.h"
#include "storage/safe_write.h"

#include <algorithm>

namespace sokoban {

namespace {

const std::string kAnswerFilter = "答案文件(*.ans)|*.ans|所有文件(*.*)|*.*";

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The .ans layout: level, moves, spare, then moves div 4 + 2 packed bytes.
void writeAnswerFile(const std::string& path, const TAnswerData& a) {
    const Bytes rec = a.encode();
    const std::size_t packed = std::min<std::size_t>(
        static_cast<std::size_t>(std::max<int>(a.moves, 0) / 4 + 2), a.packed.size());
    replaceFileContents(path,
                        Bytes(rec.begin(), rec.begin() + static_cast<std::ptrdiff_t>(5 + packed)));
}

} // namespace

std::string GameModel::answerFileName(const std::string& gameName, int level,
                                      const std::string& typed) {
    const std::string zeros = level < 10 ? "000" : level < 100 ? "00" : level < 1000 ? "0" : "";
    return gameName + zeros + typed + ".ans";
}

void GameModel::tbLoadAnswerClick() {
    if (demoButtons == DemoButtons::Idle) {
        if (xsbMode || levelCount == 0) return;
        answerRec = files().sol.get<TAnswerData>(curLevel - 1);
        if (answerRec.moves <= 0) {
            dialogs_.warning("这一关还没有答案，自己努力吧！");
            return;
        }
        demoPaused = false;
        tbRetryGameClick();
        demoMode = true;
        demoButtons = DemoButtons::Running;
        view_.SetDemoButtons(demoButtons);
        const int speeds[] = {50, 200, 500};
        const int s = settings.demoSpeed;
        if (s >= 1 && s <= 3) {
            demoInterval = speeds[s - 1];
            view_.SetDemoInterval(demoInterval);
        }
        if (settings.stepDemo != 1) view_.SetDemoTimer(true);
    } else if (demoButtons == DemoButtons::Running) {
        view_.SetDemoTimer(false);
        demoPaused = true;
        demoButtons = DemoButtons::Paused;
        view_.SetDemoButtons(demoButtons);
    } else {
        view_.SetDemoTimer(true);
        demoPaused = true;
        demoButtons = DemoButtons::Running;
        view_.SetDemoButtons(demoButtons);
    }
}

void GameModel::Timer4Timer() {
    if (!demoMode) return;
    KeyMove(kDirections[answerRec.moveAt(std::clamp(moveCount, 0, 4095))].word);
}

void GameModel::mAnswerOutClick() {
    const auto reply = dialogs_.inputBox("要导出哪一关的答案？", "输入关卡号：", "");
    if (!reply || trimmed(*reply).empty()) return;
    const std::string typed = trimmed(*reply);
    const auto parsed = parseWholeNumber(typed);
    if (!parsed) {
        dialogs_.warning("请输入有效数字!");
        return;
    }
    const long long n = *parsed;
    if (n < 1 || n > levelCount) {
        dialogs_.warning("请输入有效关卡号!");
        return;
    }
    const int level = static_cast<int>(n);
    const std::string proposed = answerFileName(gameName, level, typed);
    const CompanionFiles f = files();
    f.sol.padTo(levelCount, emptyAnswerRecord().encode());
    const auto answer = f.sol.get<TAnswerData>(level - 1);
    if (answer.moves == 0) {
        dialogs_.error("本关还没有答案啊！");
        return;
    }
    const auto chosen = dialogs_.saveFile(kAnswerFilter, proposed);
    if (!chosen) return;
    writeAnswerFile(*chosen, answer);
}

void GameModel::mAnswerOutAllClick() {
    if (xsbMode) {
        dialogs_.error("XSB文件无法导出答案！");
        return;
    }
    const RecordFile sol = files().sol;
    for (int k = 1; k <= levelCount; ++k) {
        const auto answer = sol.get<TAnswerData>(k - 1);
        if (answer.moves == 0) continue;
        const std::string path = answerFileName(gameName, k, std::to_string(k));
        writeAnswerFile(path, answer);
        dialogs_.information("第" + std::to_string(k) + "关有答案，已经导出！" + "\r" +
                             "答案文件存为" + path);
    }
    dialogs_.information("所有有答案的关卡都已经保存！");
}

void GameModel::mAnswerInClick() {
    const auto chosen = dialogs_.openFile(kAnswerFilter);
    if (!chosen) return;
    const Bytes head = readPlainFile(*chosen, TAnswerData::kSize);
    std::uint8_t buf[TAnswerData::kSize] = {};
    std::copy(head.begin(), head.end(), buf);
    const auto got = head.size();
    const TAnswerData imported = TAnswerData::decode(buf);
    // A level number outside the set would fail or lengthen the .sol file.
    if (got < 5 || imported.level < 1 || imported.level > levelCount) {
        dialogs_.warning("答案文件中的关卡号不正确！");
        return;
    }
    offerImportedAnswer(imported);
}

void GameModel::offerImportedAnswer(TAnswerData answer) {
    const CompanionFiles f = files();
    const int number = answer.level;
    const TMazeData level = f.levels.get<TMazeData>(number - 1);
    // An answer that stops on a wall or leaves a box off its target would be
    // stored over a good one, and its demonstration would never end.
    const AnswerReplay replay = replayAnswer(level, answer);
    switch (replay.error) {
    case SolutionError::None:
        break;
    case SolutionError::Empty:
    case SolutionError::BadCharacter:
        dialogs_.warning("答案文件中没有答案！");
        return;
    case SolutionError::TooLong:
        dialogs_.warning("答案太长，一个答案最多 4096 步！");
        return;
    case SolutionError::Blocked:
        dialogs_.warning("答案的第 " + std::to_string(replay.move) + " 步在第" +
                         std::to_string(number) + "关走不通，答案没有导入！");
        return;
    case SolutionError::NotSolved:
        dialogs_.warning("这个答案没有解开第" + std::to_string(number) + "关，答案没有导入！");
        return;
    }
    // Moves after the solve are never made.
    answer.moves = static_cast<std::int16_t>(replay.moves);

    // Only an answer with fewer moves or fewer pushes replaces the stored one.
    const TAnswerData stored =
        f.sol.count() >= number ? f.sol.get<TAnswerData>(number - 1) : emptyAnswerRecord();
    if (stored.moves != 0 && !replay.betterThan(replayAnswer(level, stored))) {
        dialogs_.information("读入的答案不比原答案简洁，原答案保留！");
    } else if (dialogs_.confirm("读入的答案显示为第" + std::to_string(number) +
                                "关，是否保存到当前文件中？")) {
        f.sol.padTo(levelCount, emptyAnswerRecord().encode());
        f.sol.put(number - 1, answer);
        if (number == curLevel && !xsbMode) view_.SetAnswerEnabled(true);
    }
    // The board of an XSB file is no level of the set.
    if (number != curLevel || xsbMode) {
        dialogs_.warning("读入答案所在关卡不是当前关卡，无法演示!");
        return;
    }
    if (!dialogs_.confirm("是否进行答案演示？")) return;
    answerRec.level = answer.level;
    answerRec.moves = answer.moves;
    answerRec.packed = answer.packed;
    // The answer replays from the level's start: a demonstration in progress
    // is stopped first, then the level is loaded afresh.
    if (demoButtons != DemoButtons::Idle) tbRetryGameClick();
    tbRetryGameClick();
    demoMode = true;
    const int speeds[] = {50, 200, 500};
    const int s = settings.demoSpeed;
    if (s >= 1 && s <= 3) {
        demoInterval = speeds[s - 1];
        view_.SetDemoInterval(demoInterval);
    }
    view_.SetDemoTimer(true);
}

} // namespace sokoban
