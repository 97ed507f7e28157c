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

// The .ans layout_: level, moves, spare, then moves div 4 + 2 packed bytes.
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
    if (demo_.buttons == DemoButtons::Idle) {
        if (xsbMode_ || levelCount_ == 0) return;
        demo_.answer = files().sol.get<TAnswerData>(curLevel_ - 1);
        demo_.longMoves = demo_.answer.moves > 0 ? core::Moves() : longAnswer(curLevel_);
        if (demo_.answer.moves <= 0 && demo_.longMoves.empty()) {
            dialogs_.warning(MessageId::NoAnswerTryYourself);
            return;
        }
        demo_.paused = false;
        tbRetryGameClick();
        demo_.running = true;
        demo_.buttons = DemoButtons::Running;
        send(event::Demo{demo_.buttons});
        demoSpeed();
        if (settings_.stepDemo != 1) send(event::DemoTimer{true});
    } else if (demo_.buttons == DemoButtons::Running) {
        send(event::DemoTimer{false});
        demo_.paused = true;
        demo_.buttons = DemoButtons::Paused;
        send(event::Demo{demo_.buttons});
    } else {
        send(event::DemoTimer{true});
        demo_.paused = true;
        demo_.buttons = DemoButtons::Running;
        send(event::Demo{demo_.buttons});
    }
}

void GameModel::Timer4Timer() {
    if (!demo_.running) return;
    KeyMove(kDirections[demo_.moveAt(moveCount())].word);
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
    if (n < 1 || n > levelCount_) {
        dialogs_.warning(MessageId::EnterValidLevel);
        return;
    }
    const int level = static_cast<int>(n);
    const std::string proposed = answerFileName(gameName_, level, typed);
    const CompanionFiles f = files();
    f.sol.padTo(levelCount_, emptyAnswerRecord().encode());
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
    if (xsbMode_) {
        dialogs_.error(MessageId::XsbCannotExportAnswer);
        return;
    }
    const RecordFile sol = files().sol;
    for (int k = 1; k <= levelCount_; ++k) {
        const auto answer = sol.get<TAnswerData>(k - 1);
        if (answer.moves == 0) continue;
        const std::string path = answerFileName(gameName_, k, std::to_string(k));
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
    if (got < 5 || imported.level < 1 || imported.level > levelCount_) {
        dialogs_.warning(MessageId::AnswerFileBadLevel);
        return;
    }
    offerImportedAnswer(imported);
}

void GameModel::offerImportedAnswer(TAnswerData answer) {
    const CompanionFiles f = files();
    const int number = answer.level;
    const core::Board level = levelBoard(number);
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
    const AnswerReplay old = storedAnswerReplay(number, level);
    if (old.ok() && !replay.betterThan(old)) {
        dialogs_.information(MessageId::ImportedAnswerNotBetter);
    } else if (dialogs_.confirm({MessageId::SaveImportedAnswer, number})) {
        f.sol.padTo(levelCount_, emptyAnswerRecord().encode());
        f.sol.put(number - 1, answer);
        if (collection_) putLongAnswer(longAnswersPath(), number, {});
        if (number == curLevel_ && !xsbMode_) send(event::Enable{Control::Answer, true});
    }
    // The board of an XSB file is no level of the set.
    if (number != curLevel_ || xsbMode_) {
        dialogs_.warning(MessageId::ImportedAnswerOtherLevel);
        return;
    }
    if (!dialogs_.confirm(MessageId::ShowAnswerDemo)) return;
    showOfferedAnswer(answer, {});
}

AnswerReplay GameModel::storedAnswerReplay(int number, const core::Board& level) const {
    const CompanionFiles f = files();
    const TAnswerData stored =
        f.sol.count() >= number ? f.sol.get<TAnswerData>(number - 1) : emptyAnswerRecord();
    if (stored.moves != 0) return replayAnswer(level, stored);
    // A collection's answer too long for its record, else none.
    const core::Moves longer = longAnswer(number);
    if (longer.empty()) return {SolutionError::Empty, 0, 0, 0};
    const core::MoveFigures was = core::figuresOf(level, longer);
    return {SolutionError::None, 0, was.moves, was.pushes};
}

void GameModel::showOfferedAnswer(const TAnswerData& answer, core::Moves longMoves) {
    demo_.answer = answer;
    demo_.longMoves = std::move(longMoves);
    // The answer replays from the level's start: a demonstration in progress
    // is stopped first, then the level is loaded afresh.
    if (demo_.buttons != DemoButtons::Idle) tbRetryGameClick();
    tbRetryGameClick();
    demo_.running = true;
    demoSpeed();
    send(event::DemoTimer{true});
}

void GameModel::offerLongAnswer(const core::Moves& moves) {
    if (!collection_ || moves.empty() || levelCount_ == 0 || curLevel_ < 1) return;
    const int number = curLevel_;
    const core::Board level = levelBoard(number);
    const CompanionFiles f = files();
    const AnswerReplay old = storedAnswerReplay(number, level);
    const core::MoveFigures now = core::figuresOf(level, moves);
    const AnswerReplay offered{SolutionError::None, 0, now.moves, now.pushes};
    if (old.ok() && !offered.betterThan(old)) {
        dialogs_.information(MessageId::ImportedAnswerNotBetter);
    } else if (dialogs_.confirm({MessageId::SaveImportedAnswer, number})) {
        putLongAnswer(longAnswersPath(), number, moves);
        f.sol.padTo(levelCount_, emptyAnswerRecord().encode());
        f.sol.put(number - 1, emptyAnswerRecord());
        send(event::Enable{Control::Answer, true});
    }
    if (!dialogs_.confirm(MessageId::ShowAnswerDemo)) return;
    showOfferedAnswer(emptyAnswerRecord(), moves);
}

void GameModel::demoSpeed() {
    const int speeds[] = {50, 200, 500};
    const int s = settings_.demoSpeed;
    if (s < 1 || s > 3) return;
    demo_.interval = speeds[s - 1];
    send(event::DemoInterval{demo_.interval});
}

} // namespace sokoban
