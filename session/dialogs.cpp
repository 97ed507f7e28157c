#include "dialogs.h"

#include <algorithm>
#include <cerrno>
#include <climits>

namespace sokoban {

namespace {

Message systemReason(int err) {
    switch (err) {
    case ENOENT:
        return MessageId::ReasonNoSuchFile;
    case EACCES:
        return MessageId::ReasonAccessDenied;
    case EPERM:
        return MessageId::ReasonNotPermitted;
    case ENOSPC:
        return MessageId::ReasonDiskFull;
    case EDQUOT:
        return MessageId::ReasonQuotaExceeded;
    case EROFS:
        return MessageId::ReasonReadOnlyFileSystem;
    case EISDIR:
        return MessageId::ReasonIsFolder;
    case ENOTDIR:
        return MessageId::ReasonNotFolder;
    case EEXIST:
        return MessageId::ReasonFileExists;
    case EIO:
        return MessageId::ReasonInputOutput;
    case EFBIG:
        return MessageId::ReasonFileTooLarge;
    case ENAMETOOLONG:
        return MessageId::ReasonNameTooLong;
    case ELOOP:
        return MessageId::ReasonTooManyLinks;
    case EMFILE:
    case ENFILE:
        return MessageId::ReasonTooManyOpenFiles;
    case ENOMEM:
        return MessageId::ReasonOutOfMemory;
    case EBUSY:
        return MessageId::ReasonBusy;
    case ETXTBSY:
        return MessageId::ReasonFileInUse;
    case EXDEV:
        return MessageId::ReasonAcrossFileSystems;
    case ENXIO:
        return MessageId::ReasonNoSuchDeviceAddress;
    case ENODEV:
        return MessageId::ReasonNoSuchDevice;
    case EINVAL:
        return MessageId::ReasonInvalidArgument;
    case EBADF:
        return MessageId::ReasonBadDescriptor;
    case EAGAIN:
        return MessageId::ReasonTryAgain;
    case EINTR:
        return MessageId::ReasonInterrupted;
    case ESPIPE:
        return MessageId::ReasonCannotSeek;
    case ENOTEMPTY:
        return MessageId::ReasonFolderNotEmpty;
    case ESTALE:
        return MessageId::ReasonStaleNetworkFile;
    case ETIMEDOUT:
        return MessageId::ReasonTimedOut;
    default:
        return {MessageId::ReasonSystemError, err};
    }
}

Message reasonMessage(const FileError& e) {
    switch (e.reason()) {
    case FileReason::System:
        return systemReason(e.systemError());
    case FileReason::ReadBeyondEnd:
        return MessageId::ReasonReadBeyondEnd;
    case FileReason::InvalidRecord:
        return MessageId::ReasonInvalidRecord;
    case FileReason::NotPlainFile:
        return MessageId::ReasonNotPlainFile;
    case FileReason::SymbolicLink:
        return MessageId::ReasonSymbolicLink;
    case FileReason::ReadOnlyFile:
        return MessageId::ReasonReadOnlyFile;
    case FileReason::NoFreeName:
        return MessageId::ReasonNoFreeName;
    }
    return systemReason(e.systemError());
}

} // namespace

Message fileErrorMessage(const FileError& e) {
    Message m(MessageId::FileOperationFailed, e.path().string());
    m.parts.push_back(reasonMessage(e));
    return m;
}

std::optional<long long> parseWholeNumber(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    std::size_t i = b;
    bool neg = false;
    if (i < e && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
    if (i == e) return std::nullopt;
    long long v = 0;
    for (; i < e; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        v = v * 10 + (text[i] - '0');
        if (v > INT_MAX) return std::nullopt;
    }
    return neg ? -v : v;
}

bool isBlankAnswer(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

std::string ScriptedDialogs::words(const Message& m) const {
    // Not for people: the id and the arguments, enough to tell texts apart.
    std::string s = "#" + std::to_string(static_cast<int>(m.id));
    for (const auto& a : m.args)
        s += "|" + a;
    for (const auto& p : m.parts)
        s += "|" + words(p);
    return s;
}

void ScriptedDialogs::message(MessageKind kind, const Message& m) {
    said.push_back({kind, m});
    message(kind, words(m));
}

bool ScriptedDialogs::confirm(const Message& question) {
    said.push_back({MessageKind::Confirmation, question});
    return confirm(words(question));
}

bool ScriptedDialogs::confirm(const std::string& text) {
    shown.push_back({MessageKind::Confirmation, text});
    if (confirmAnswers.empty()) return false;
    bool a = confirmAnswers.front();
    confirmAnswers.pop_front();
    return a;
}

Answer ScriptedDialogs::askYesNoCancel(const std::string& text) {
    shown.push_back({MessageKind::Confirmation, text});
    if (askAnswers.empty()) return Answer::Cancel;
    const Answer a = askAnswers.front();
    askAnswers.pop_front();
    return a;
}

std::optional<std::string> ScriptedDialogs::inputBox(const Message& caption, const Message& prompt,
                                                     const std::string& initial) {
    inputMessages.emplace_back(caption, prompt);
    return inputBox(words(caption), words(prompt), initial);
}

std::optional<std::string> ScriptedDialogs::inputBox(const std::string& caption,
                                                     const std::string& prompt,
                                                     const std::string&) {
    inputPrompts.push_back(caption + "|" + prompt);
    if (inputAnswers.empty()) return std::nullopt;
    auto a = inputAnswers.front();
    inputAnswers.pop_front();
    return a;
}

std::optional<std::string> ScriptedDialogs::openFile(const Message& filter,
                                                     const std::string& initialDir) {
    filterMessages.push_back(filter);
    return openFile(words(filter), initialDir);
}

std::optional<std::string> ScriptedDialogs::openFile(const std::string& filter,
                                                     const std::string&) {
    fileFilters.push_back(filter);
    if (fileAnswers.empty()) return std::nullopt;
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

std::optional<std::string> ScriptedDialogs::saveFile(const Message& filter,
                                                     const std::string& proposedName,
                                                     const std::string& initialDir) {
    filterMessages.push_back(filter);
    return saveFile(words(filter), proposedName, initialDir);
}

std::optional<std::string> ScriptedDialogs::saveFile(const std::string& filter,
                                                     const std::string& proposedName,
                                                     const std::string&) {
    proposedNames.push_back(proposedName);
    return openFile(filter, std::string{});
}

std::vector<std::string> ScriptedDialogs::takeTexts() {
    std::vector<std::string> out;
    for (auto& s : shown)
        out.push_back(s.text);
    shown.clear();
    said.clear();
    return out;
}

std::vector<Message> ScriptedDialogs::takeMessages() {
    std::vector<Message> out;
    for (auto& s : said)
        out.push_back(s.message);
    shown.clear();
    said.clear();
    return out;
}

} // namespace sokoban
