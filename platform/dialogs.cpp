#include "dialogs.h"

namespace sokoban {

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
