#include "dialogs.h"

#include <algorithm>
#include <climits>

namespace sokoban {

std::optional<long long> parseWholeNumber(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
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

std::string fileErrorText(const std::string& path, const std::string& reason) {
    return "文件操作失败：" + path + "\n" + reason;
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

std::optional<std::string> ScriptedDialogs::inputBox(const std::string& caption,
                                                     const std::string& prompt,
                                                     const std::string&) {
    inputPrompts.push_back(caption + "|" + prompt);
    if (inputAnswers.empty()) return std::nullopt;
    auto a = inputAnswers.front();
    inputAnswers.pop_front();
    return a;
}

std::optional<std::string> ScriptedDialogs::openFile(const std::string& filter,
                                                     const std::string&) {
    fileFilters.push_back(filter);
    if (fileAnswers.empty()) return std::nullopt;
    auto a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

std::optional<std::string> ScriptedDialogs::saveFile(const std::string& filter,
                                                     const std::string& proposedName,
                                                     const std::string&) {
    proposedNames.push_back(proposedName);
    return openFile(filter, {});
}

std::vector<std::string> ScriptedDialogs::takeTexts() {
    std::vector<std::string> out;
    for (auto& s : shown) out.push_back(s.text);
    shown.clear();
    return out;
}

} // namespace sokoban
