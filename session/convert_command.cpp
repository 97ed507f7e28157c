#include "convert_command.h"

#include "storage/convert.h"

#include <filesystem>
#include <system_error>

namespace sokoban {

void N1251Click(Dialogs& dialogs) {
    const auto chosen = dialogs.openFile("游戏文件(*.box)|*.box");
    if (!chosen) return;
    const std::filesystem::path file = *chosen;
    try {
        std::error_code ec;
        const auto size = std::filesystem::file_size(file, ec);
        if (ec) throw FileError(file, systemReason(ec.value()));
        if (!isOldLayoutSize(size)) {
            dialogs.error("游戏文件格式错误！");
            return;
        }
        if (mayBeCurrentLayout(size) &&
            !dialogs.confirm("这个文件好像已经是新版本的文件了，真的要转换吗？"))
            return;
        convertLevelSetFile(file);
    } catch (const FileError& e) {
        dialogs.fileError(e.path().string(), e.reason());
        return;
    }
    dialogs.information("转换完毕！");
}

} // namespace sokoban
