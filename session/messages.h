// What the game tells the player, by what it says rather than in words: the
// model and the file layer speak in message ids with arguments, and the user
// interface words them (ui/messages) in the player's language.
#pragma once

#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

namespace sokoban {

enum class MessageId {
    None, // no text: a status panel back to what it shows otherwise

    // The general error report: %1 the path, %2 the reason.
    FileOperationFailed,
    // Why a file operation failed.
    ReasonReadBeyondEnd,
    ReasonInvalidRecord,
    ReasonNotPlainFile,
    ReasonSymbolicLink,
    ReasonReadOnlyFile,
    ReasonNoFreeName,
    ReasonNoSuchFile,
    ReasonAccessDenied,
    ReasonNotPermitted,
    ReasonDiskFull,
    ReasonQuotaExceeded,
    ReasonReadOnlyFileSystem,
    ReasonIsFolder,
    ReasonNotFolder,
    ReasonFileExists,
    ReasonInputOutput,
    ReasonFileTooLarge,
    ReasonNameTooLong,
    ReasonTooManyLinks,
    ReasonTooManyOpenFiles,
    ReasonOutOfMemory,
    ReasonBusy,
    ReasonFileInUse,
    ReasonAcrossFileSystems,
    ReasonNoSuchDeviceAddress,
    ReasonNoSuchDevice,
    ReasonInvalidArgument,
    ReasonBadDescriptor,
    ReasonTryAgain,
    ReasonInterrupted,
    ReasonCannotSeek,
    ReasonFolderNotEmpty,
    ReasonStaleNetworkFile,
    ReasonTimedOut,
    ReasonSystemError, // %1 the error number

    // File dialogs' filters, "text|pattern|text|pattern".
    AnswerFilter,
    OldLevelSetFilter,
    OpenSetFilter,
    CollectionFilter,
    XsbFilter,

    // Window caption: %1 the level; CaptionOtherSet %1 the file, %2 the level;
    // CaptionXsb %1 the file.
    CaptionDefaultSet,
    CaptionEasySet,
    CaptionNormalSet,
    CaptionVeryHardSet,
    CaptionImpossibleSet,
    CaptionOtherSet,
    CaptionXsb,
    // Status bar: the level (%1 of %2), moves and pushes (%1 now, %2 best).
    LevelPanel,
    LevelPanelXsb,
    MovesPanel,
    MovesPanelNoBest,
    PushesPanel,
    PushesPanelNoBest,
    DeadSquareWarning,
    FrozenBoxWarning,
    // The last panel: the level's title and author.
    TitlePanelNone,
    TitlePanel,          // %1 title
    TitleAuthorPanel,    // %1 title, %2 author
    UntitledAuthorPanel, // %1 author
    // Lines of the game information.
    TitleLine,  // %1 title
    AuthorLine, // %1 author
    // A collection's level in the level information: %1 the collection, %2 its
    // number there.
    CollectionLine,
    // %1 attempts, %2 minutes, %3 seconds played on the level.
    LevelStatsLine,
    // The best answer: %1 moves, %2 pushes, %3 box lines, %4 box changes.
    AnswerFiguresLine,
    // The whole collection: %1 levels solved of %2, %3 attempts, %4 minutes.
    CollectionStatsLine,

    // Opening level sets and levels.
    SetFileMissing,
    BadLevelSetFile,
    LevelReadFailed,
    XsbFileMissing,
    FileReadFailed,
    LevelTooBig,
    NoLevelNewOne,
    NoLevelOnClipboard,
    // Levels of a collection left out: parts are the lead (LevelsImported or
    // NoLevelsImported) and then one part per reason.
    ImportSummary,
    LevelsImported, // %1 levels
    NoLevelsImported,
    TooLargeLeftOut,    // %1 count, %2 LevelNumbers
    NoWorkerLeftOut,    // %1 count, %2 LevelNumbers
    BeyondLimitLeftOut, // %1 count, %2 the most one set holds
    LevelNumbers,       // every argument a level number

    // Play and navigation.
    AllLevelsUnlocked,
    LevelSolved,
    DemoWatched,
    Congratulations,    // %1 level
    FirstSolve,         // %1 level, %2 moves, %3 pushes
    BothRecordsBroken,  // %1 moves, %2 pushes
    MovesRecordBroken,  // %1 moves, %2 pushes
    PushesRecordBroken, // %1 moves, %2 pushes
    SolutionStored,
    BetterAnswerStored,
    AllLevelsSolved,
    NoUnsolvedLevel,
    SolveThisLevelFirst,
    ChooseLevelCaption,
    ChooseLevelPrompt, // %1 the highest level open
    EnterValidNumber,
    EnterValidLevel,
    XsbCannotSave,
    GameSaved, // %1 slot, %2 level
    NoSuchSlot,
    LevelTooLargeForSlot, // a board past 22 x 34
    Saved,

    // Stored answers.
    NoAnswerTryYourself,
    ExportAnswerCaption,
    EnterLevelPrompt,
    NoAnswerForLevel,
    XsbCannotExportAnswer,
    XsbCannotImportAnswer,
    AnswerExported, // %1 level, %2 file
    AllAnswersSaved,
    AnswerFileBadLevel,
    AnswerFileEmpty,
    NoAnswerOnClipboard,
    AnswerTooLong,
    AnswerBlockedAtLevel,  // %1 move, %2 level
    AnswerBlocked,         // %1 move
    AnswerNotSolvingLevel, // %1 level
    AnswerNotSolving,
    ImportedAnswerNotBetter,
    SaveImportedAnswer, // %1 level
    ImportedAnswerOtherLevel,
    ShowAnswerDemo,

    // Help from the solver.
    PositionUnsolvable,
    SolveTimedOut, // %1 seconds
    SolveOutOfMemory,
    PositionInvalid,
    SolutionTooLongToShow,

    // Converting level sets of the older layout.
    LooksConverted,
    ConvertDone,

    Count // not a message: how many there are
};

// A number or a text as an argument of a message.
inline std::string messageArg(std::string text) {
    return text;
}
template <class N, std::enable_if_t<std::is_integral_v<N>, int> = 0>
std::string messageArg(N number) {
    return std::to_string(number);
}

struct Message {
    MessageId id = MessageId::None;
    // %1, %2, ... in this order.
    std::vector<std::string> args;
    // Messages worded into the placeholders after the arguments.
    std::vector<Message> parts;

    Message() = default;
    template <class... Args>
    Message(MessageId message, const Args&... arguments)
        : id(message), args{messageArg(arguments)...} {}

    bool operator==(const Message&) const = default;
};

// For test failures: the id's number and the arguments.
inline void PrintTo(const Message& m, std::ostream* out) {
    *out << "Message(" << static_cast<int>(m.id);
    for (const auto& a : m.args)
        *out << ", \"" << a << '"';
    for (const auto& p : m.parts) {
        *out << ", ";
        PrintTo(p, out);
    }
    *out << ')';
}

} // namespace sokoban
