#include "desktop_integration.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace sokoban {

namespace fs = std::filesystem;

ShortcutFolder shortcutFolder(int index) {
    return index == 1   ? ShortcutFolder::StartMenu
           : index == 2 ? ShortcutFolder::Programs
                        : ShortcutFolder::Desktop;
}

namespace {

[[noreturn]] void fail(const std::string& what, const fs::path& path, int err) {
    throw fs::filesystem_error(what, path, std::error_code(err, std::generic_category()));
}

void writeText(const fs::path& file, const std::string& text) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) throw fs::filesystem_error("create folder", file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) fail("write", file, errno);
    out << text;
    out.close();
    if (!out) fail("write", file, errno);
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// True when the file was there and is gone now.
bool removeFile(const fs::path& file) {
    std::error_code ec;
    const bool removed = fs::remove(file, ec);
    if (ec) throw fs::filesystem_error("remove", file, ec);
    return removed;
}

void removeFolderIfEmpty(const fs::path& dir) {
    std::error_code ec;
    if (fs::is_directory(dir, ec) && fs::is_empty(dir, ec)) fs::remove(dir, ec);
}

bool fileExists(const fs::path& file) {
    std::error_code ec;
    return fs::exists(file, ec);
}

// ".BOX" -> "box".
std::string bareExtension(const std::string& extension) {
    std::string s = extension;
    if (!s.empty() && s.front() == '.') s.erase(0, 1);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// A value of a .desktop key: backslashes, line breaks and tabs escaped.
std::string entryValue(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// One argument of an Exec line, quoted so that blanks and the characters
// the launcher treats specially survive.
std::string execArgument(const std::string& s) {
    std::string quoted = "\"";
    for (char c : s) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return entryValue(quoted);
}

std::string xmlText(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\n";
    return out;
}

// mimeapps.list: makes desktopId the default for mime, keeping everything
// else the file says.
std::string withDefault(const std::string& text, const std::string& mime,
                        const std::string& desktopId) {
    std::vector<std::string> lines = splitLines(text);
    const std::string header = "[Default Applications]";
    const std::string entry = mime + "=" + desktopId + ";";
    bool inSection = false;
    std::size_t headerAt = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string t = trim(lines[i]);
        if (!t.empty() && t.front() == '[') {
            inSection = t == header;
            if (inSection) headerAt = i;
            continue;
        }
        if (inSection && trim(t.substr(0, t.find('='))) == mime) {
            lines[i] = entry;
            return joinLines(lines);
        }
    }
    if (headerAt == lines.size()) {
        if (!lines.empty() && !trim(lines.back()).empty()) lines.push_back("");
        lines.push_back(header);
        lines.push_back(entry);
    } else {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(headerAt) + 1, entry);
    }
    return joinLines(lines);
}

// mimeapps.list: takes desktopId out of every list for mime; a key left
// without applications goes.
std::string withoutHandler(const std::string& text, const std::string& mime,
                           const std::string& desktopId) {
    std::vector<std::string> out;
    for (const auto& line : splitLines(text)) {
        const std::string t = trim(line);
        const auto eq = t.find('=');
        if (t.empty() || t.front() == '[' || t.front() == '#' || eq == std::string::npos ||
            trim(t.substr(0, eq)) != mime) {
            out.push_back(line);
            continue;
        }
        std::string kept;
        std::istringstream ids(t.substr(eq + 1));
        std::string id;
        while (std::getline(ids, id, ';'))
            if (!trim(id).empty() && trim(id) != desktopId) kept += trim(id) + ";";
        if (!kept.empty()) out.push_back(mime + "=" + kept);
    }
    return joinLines(out);
}

fs::path homeFolder() {
    const char* home = std::getenv("HOME");
    return home ? fs::path(home) : fs::temp_directory_path();
}

fs::path envFolder(const char* name, const fs::path& fallback) {
    const char* v = std::getenv(name);
    return v && *v && fs::path(v).is_absolute() ? fs::path(v) : fallback;
}

// Menu folder of the programs menu, as a desktop file ID prefix.
const char* const kMenuFolder = "sokoban";

} // namespace

// --- folders ----------------------------------------------------------------------------

DesktopFolders DesktopFolders::forCurrentUser() {
    const fs::path home = homeFolder();
    DesktopFolders f;
    f.dataHome = envFolder("XDG_DATA_HOME", home / ".local" / "share");
    f.configHome = envFolder("XDG_CONFIG_HOME", home / ".config");
    return f;
}

fs::path DesktopFolders::userDesktop() {
    const QString tool = QStandardPaths::findExecutable("xdg-user-dir");
    if (!tool.isEmpty()) {
        QProcess p;
        p.start(tool, {"DESKTOP"});
        if (p.waitForFinished(3000) && p.exitCode() == 0) {
            const std::string dir = trim(p.readAllStandardOutput().toStdString());
            if (!dir.empty() && fs::path(dir).is_absolute()) return dir;
        }
    }
    return homeFolder() / "Desktop";
}

// --- freedesktop ------------------------------------------------------------------------

FreedesktopIntegration::FreedesktopIntegration(DesktopFolders folders, bool runTools,
                                               fs::path iconFile)
    : folders_(std::move(folders)), runTools_(runTools), iconFile_(std::move(iconFile)) {}

std::string FreedesktopIntegration::mimeType(const std::string& extension) {
    return "application/x-sokoban-" + bareExtension(extension);
}

fs::path FreedesktopIntegration::mimePackageFile(const std::string& extension) const {
    return folders_.dataHome / "mime" / "packages" /
           ("sokoban-" + bareExtension(extension) + ".xml");
}

fs::path FreedesktopIntegration::handlerFile(const std::string& extension) const {
    return folders_.dataHome / "applications" /
           ("sokoban-" + bareExtension(extension) + ".desktop");
}

fs::path FreedesktopIntegration::shortcutFile(ShortcutFolder folder,
                                              const std::string& linkName) const {
    const std::string file = linkName + ".desktop";
    switch (folder) {
    case ShortcutFolder::StartMenu:
        return folders_.dataHome / "applications" / file;
    case ShortcutFolder::Programs:
        return folders_.dataHome / "applications" / kMenuFolder / file;
    case ShortcutFolder::Desktop:
        break;
    }
    return desktopFolder() / file;
}

const fs::path& FreedesktopIntegration::desktopFolder() const {
    if (folders_.desktop.empty()) folders_.desktop = DesktopFolders::userDesktop();
    return folders_.desktop;
}

fs::path FreedesktopIntegration::menuFile(const std::string& linkName) const {
    return folders_.configHome / "menus" / "applications-merged" /
           (std::string(kMenuFolder) + "-" + linkName + ".menu");
}

fs::path FreedesktopIntegration::directoryFile(const std::string& linkName) const {
    return folders_.dataHome / "desktop-directories" /
           (std::string(kMenuFolder) + "-" + linkName + ".directory");
}

std::string FreedesktopIntegration::entryText(const std::string& name, const std::string& target,
                                              bool inMenu, const std::string& extra) const {
    std::string t = "[Desktop Entry]\nType=Application\nName=" + entryValue(name) + "\n";
    t += "Exec=" + execArgument(target) + extra + "\n";
    t += "Path=" + entryValue(fs::path(target).parent_path().string()) + "\n";
    if (!iconFile_.empty()) t += "Icon=" + entryValue(iconFile_.string()) + "\n";
    t += "Terminal=false\n";
    if (inMenu) t += "Categories=Game;LogicGame;\n";
    return t;
}

void FreedesktopIntegration::registerFileType(const std::string& extension,
                                              const std::string& typeName,
                                              const std::string& program) {
    const std::string ext = bareExtension(extension);
    const std::string mime = mimeType(extension);
    // Globs match either case, so "LEVELS.BOX" is ours too.
    writeText(mimePackageFile(extension),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"" +
                  mime +
                  "\">\n"
                  "    <comment>" +
                  xmlText(typeName) +
                  "</comment>\n"
                  "    <glob pattern=\"*." +
                  xmlText(ext) +
                  "\"/>\n"
                  "  </mime-type>\n"
                  "</mime-info>\n");
    // The handler does not show in the menus: that is what the shortcuts are for.
    writeText(handlerFile(extension), entryText("推箱子", program, false, " %f") +
                                          "MimeType=" + mime + ";\nNoDisplay=true\n");
    writeText(mimeAppsFile(), withDefault(readText(mimeAppsFile()), mime,
                                          handlerFile(extension).filename().string()));
    updateDatabases();
}

void FreedesktopIntegration::unregisterFileType(const std::string& extension, const std::string&) {
    const std::string mime = mimeType(extension);
    removeFile(mimePackageFile(extension));
    removeFile(handlerFile(extension));
    if (fileExists(mimeAppsFile()))
        writeText(mimeAppsFile(), withoutHandler(readText(mimeAppsFile()), mime,
                                                 handlerFile(extension).filename().string()));
    updateDatabases();
}

bool FreedesktopIntegration::createShortcut(ShortcutFolder folder, const std::string& target,
                                            const std::string& linkName) {
    const fs::path file = shortcutFile(folder, linkName);
    if (fileExists(file)) return false;
    writeText(file, entryText(linkName, target, folder == ShortcutFolder::StartMenu, ""));
    if (folder == ShortcutFolder::Desktop) {
        // File managers start only desktop entries the user may execute.
        std::error_code ec;
        fs::permissions(file, fs::perms::owner_exec | fs::perms::group_exec, fs::perm_options::add,
                        ec);
    }
    if (folder == ShortcutFolder::Programs) {
        const std::string dirName = std::string(kMenuFolder) + "-" + linkName + ".directory";
        writeText(directoryFile(linkName),
                  "[Desktop Entry]\nType=Directory\nName=" + entryValue(linkName) + "\n" +
                      (iconFile_.empty() ? "" : "Icon=" + entryValue(iconFile_.string()) + "\n"));
        writeText(menuFile(linkName),
                  "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                  " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
                  "<Menu>\n  <Name>Applications</Name>\n  <Menu>\n"
                  "    <Name>" +
                      xmlText(linkName) +
                      "</Name>\n"
                      "    <Directory>" +
                      xmlText(dirName) +
                      "</Directory>\n"
                      "    <Include><Filename>" +
                      xmlText(std::string(kMenuFolder) + "-" + linkName) +
                      ".desktop</Filename></Include>\n"
                      "  </Menu>\n</Menu>\n");
    }
    if (folder != ShortcutFolder::Desktop) updateDatabases();
    return true;
}

bool FreedesktopIntegration::deleteShortcut(ShortcutFolder folder, const std::string& linkName) {
    const fs::path file = shortcutFile(folder, linkName);
    if (!removeFile(file)) return false;
    if (folder == ShortcutFolder::Programs) {
        removeFile(menuFile(linkName));
        removeFile(directoryFile(linkName));
        removeFolderIfEmpty(file.parent_path());
    }
    if (folder != ShortcutFolder::Desktop) updateDatabases();
    return true;
}

void FreedesktopIntegration::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void FreedesktopIntegration::updateDatabases() const {
    if (!runTools_) return;
    // Both are optional: without them the desktop notices the files itself,
    // only later.
    const QString mime = QStandardPaths::findExecutable("update-mime-database");
    if (!mime.isEmpty())
        QProcess::execute(mime, {QString::fromStdString((folders_.dataHome / "mime").string())});
    const QString apps = QStandardPaths::findExecutable("update-desktop-database");
    if (!apps.isEmpty())
        QProcess::execute(apps,
                          {QString::fromStdString((folders_.dataHome / "applications").string())});
}

// --- stand-in ---------------------------------------------------------------------------

void ScriptedDesktop::maybeFail() {
    if (!failWithPath) return;
    const std::string path = *failWithPath;
    failWithPath.reset();
    fail("write", path, EACCES);
}

void ScriptedDesktop::registerFileType(const std::string& extension, const std::string& typeName,
                                       const std::string& program) {
    calls.push_back("register " + extension + " " + typeName + " " + program);
    maybeFail();
}

void ScriptedDesktop::unregisterFileType(const std::string& extension,
                                         const std::string& typeName) {
    calls.push_back("unregister " + extension + " " + typeName);
    maybeFail();
}

bool ScriptedDesktop::createShortcut(ShortcutFolder folder, const std::string& target,
                                     const std::string& linkName) {
    const std::string key = std::to_string(static_cast<int>(folder)) + " " + linkName;
    calls.push_back("create " + key + " " + target);
    for (const auto& s : shortcuts)
        if (s == key) return false;
    maybeFail();
    shortcuts.push_back(key);
    return true;
}

bool ScriptedDesktop::deleteShortcut(ShortcutFolder folder, const std::string& linkName) {
    const std::string key = std::to_string(static_cast<int>(folder)) + " " + linkName;
    calls.push_back("delete " + key);
    for (auto it = shortcuts.begin(); it != shortcuts.end(); ++it) {
        if (*it != key) continue;
        maybeFail();
        shortcuts.erase(it);
        return true;
    }
    return false;
}

} // namespace sokoban
