// Stored answers: the demonstration that replays one, and the .ans files
// that carry answers between players.
#include "game_model.h"

#include "storage/level_text.h"
#include "storage/safe_write.h"

#include <algorithm>

namespace sokoban {

namespace {

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
            dialogs_.warning(MessageId::NoAnswerTryYourself);
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
    const auto reply =
        dialogs_.inputBox(MessageId::ExportAnswerCaption, MessageId::EnterLevelPrompt, "");
    if (!reply || trimmed(*reply).empty()) return;
    const std::string typed = trimmed(*reply);
    const auto parsed = parseWholeNumber(typed);
    if (!parsed) {
        dialogs_.warning(MessageId::EnterValidNumber);
        return;
    }
    const long long n = *parsed;
    if (n < 1 || n > levelCount) {
        dialogs_.warning(MessageId::EnterValidLevel);
        return;
    }
    const int level = static_cast<int>(n);
    const std::string proposed = answerFileName(gameName, level, typed);
    const CompanionFiles f = files();
    f.sol.padTo(levelCount, emptyAnswerRecord().encode());
    const auto answer = f.sol.get<TAnswerData>(level - 1);
    if (answer.moves == 0) {
        dialogs_.error(MessageId::NoAnswerForLevel);
        return;
    }
    const auto chosen = dialogs_.saveFile(MessageId::AnswerFilter, proposed);
    if (!chosen) return;
    writeAnswerFile(*chosen, answer);
}

void GameModel::mAnswerOutAllClick() {
    if (xsbMode) {
        dialogs_.error(MessageId::XsbCannotExportAnswer);
        return;
    }
    const RecordFile sol = files().sol;
    for (int k = 1; k <= levelCount; ++k) {
        const auto answer = sol.get<TAnswerData>(k - 1);
        if (answer.moves == 0) continue;
        const std::string path = answerFileName(gameName, k, std::to_string(k));
        writeAnswerFile(path, answer);
        dialogs_.information({MessageId::AnswerExported, k, path});
    }
    dialogs_.information(MessageId::AllAnswersSaved);
}

void GameModel::mAnswerInClick() {
    const auto chosen = dialogs_.openFile(MessageId::AnswerFilter);
    if (!chosen) return;
    const Bytes head = readPlainFile(*chosen, TAnswerData::kSize);
    std::uint8_t buf[TAnswerData::kSize] = {};
    std::copy(head.begin(), head.end(), buf);
    const auto got = head.size();
    const TAnswerData imported = TAnswerData::decode(buf);
    // A level number outside the set would fail or lengthen the .sol file.
    if (got < 5 || imported.level < 1 || imported.level > levelCount) {
        dialogs_.warning(MessageId::AnswerFileBadLevel);
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
        dialogs_.warning(MessageId::AnswerFileEmpty);
        return;
    case SolutionError::TooLong:
        dialogs_.warning(MessageId::AnswerTooLong);
        return;
    case SolutionError::Blocked:
        dialogs_.warning({MessageId::AnswerBlockedAtLevel, replay.move, number});
        return;
    case SolutionError::NotSolved:
        dialogs_.warning({MessageId::AnswerNotSolvingLevel, number});
        return;
    }
    // Moves after the solve are never made.
    answer.moves = static_cast<std::int16_t>(replay.moves);

    // Only an answer with fewer moves or fewer pushes replaces the stored one.
    const TAnswerData stored =
        f.sol.count() >= number ? f.sol.get<TAnswerData>(number - 1) : emptyAnswerRecord();
    if (stored.moves != 0 && !replay.betterThan(replayAnswer(level, stored))) {
        dialogs_.information(MessageId::ImportedAnswerNotBetter);
    } else if (dialogs_.confirm({MessageId::SaveImportedAnswer, number})) {
        f.sol.padTo(levelCount, emptyAnswerRecord().encode());
        f.sol.put(number - 1, answer);
        if (number == curLevel && !xsbMode) view_.SetAnswerEnabled(true);
    }
    // The board of an XSB file is no level of the set.
    if (number != curLevel || xsbMode) {
        dialogs_.warning(MessageId::ImportedAnswerOtherLevel);
        return;
    }
    if (!dialogs_.confirm(MessageId::ShowAnswerDemo)) return;
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
