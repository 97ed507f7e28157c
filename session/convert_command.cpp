#include "convert_command.h"

#include "storage/convert.h"

#include <filesystem>
#include <system_error>

namespace sokoban {

void N1251Click(Dialogs& dialogs) {
    const auto chosen = dialogs.openFile(MessageId::OldLevelSetFilter);
    if (!chosen) return;
    const std::filesystem::path file = *chosen;
    try {
        std::error_code ec;
        const auto size = std::filesystem::file_size(file, ec);
        if (ec) throw FileError(file, ec.value());
        if (!isOldLayoutSize(size)) {
            dialogs.error(MessageId::BadLevelSetFile);
            return;
        }
        if (mayBeCurrentLayout(size) && !dialogs.confirm(MessageId::LooksConverted)) return;
        convertLevelSetFile(file);
    } catch (const FileError& e) {
        dialogs.fileError(e);
        return;
    }
    dialogs.information(MessageId::ConvertDone);
}

} // namespace sokoban
