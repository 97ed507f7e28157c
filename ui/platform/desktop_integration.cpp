#include "desktop_integration.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
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

// One argument of an Exec line. Quoted only when it holds a character the
// launcher treats specially: simple launchers (xdg-open's own fallback among
// them) do not undo quotes and would try to run the quote marks.
std::string execArgument(const std::string& s) {
    const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool needsQuotes = s.find_first_of(reserved) != std::string::npos;
    std::string arg = needsQuotes ? "\"" : "";
    for (char c : s) {
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) arg += '\\';
        if (c == '%') arg += '%';
        arg += c;
    }
    if (needsQuotes) arg += '"';
    return entryValue(arg);
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
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
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

// The list of desktop IDs of a "mime=a;b;" line without desktopId, as "a;b;".
std::string otherIds(const std::string& line, const std::string& desktopId) {
    std::string kept;
    std::istringstream ids(line.substr(line.find('=') + 1));
    std::string id;
    while (std::getline(ids, id, ';'))
        if (!trim(id).empty() && trim(id) != desktopId) kept += trim(id) + ";";
    return kept;
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
            // The handlers named before stay behind ours, so taking ours
            // back leaves the player's choice as it was.
            lines[i] = entry + otherIds(t, desktopId);
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
// without applications goes, and so does a section that held nothing but
// such keys (the one the game added). Empty when nothing is left at all.
std::string withoutHandler(const std::string& text, const std::string& mime,
                           const std::string& desktopId) {
    struct Section {
        std::vector<std::string> lines; // the header first, except for the preamble
        bool lostKey = false;
    };
    std::vector<Section> sections(1);
    for (const auto& line : splitLines(text)) {
        const std::string t = trim(line);
        if (!t.empty() && t.front() == '[') sections.emplace_back();
        const auto eq = t.find('=');
        if (t.empty() || t.front() == '[' || t.front() == '#' || eq == std::string::npos ||
            trim(t.substr(0, eq)) != mime) {
            sections.back().lines.push_back(line);
            continue;
        }
        const std::string kept = otherIds(t, desktopId);
        if (kept.empty())
            sections.back().lostKey = true;
        else
            sections.back().lines.push_back(mime + "=" + kept);
    }
    std::vector<std::string> out;
    bool dropped = false;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const Section& sec = sections[i];
        const bool bodyBlank = std::all_of(sec.lines.begin() + (i == 0 ? 0 : 1), sec.lines.end(),
                                           [](const std::string& l) { return trim(l).empty(); });
        if (i > 0 && sec.lostKey && bodyBlank) {
            dropped = true;
            continue;
        }
        out.insert(out.end(), sec.lines.begin(), sec.lines.end());
    }
    // The blank line that was put before an added section goes with it.
    if (dropped)
        while (!out.empty() && trim(out.back()).empty())
            out.pop_back();
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

// What update-mime-database writes beside packages/.
const char* const kMimeIndexFiles[] = {"mime.cache",    "globs",         "globs2",    "magic",
                                       "aliases",       "subclasses",    "types",     "icons",
                                       "generic-icons", "XMLnamespaces", "treemagic", "version"};

void removeQuietly(const fs::path& file) {
    std::error_code ec;
    fs::remove(file, ec);
}

bool folderHasEntries(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec) && !fs::is_empty(dir, ec);
}

// Any .desktop file in the folder or below it that handles a file type:
// the entries update-desktop-database indexes.
bool holdsFileHandlers(const fs::path& dir) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".desktop" || !it->is_regular_file(ec)) continue;
        std::ifstream in(it->path());
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("MimeType=", 0) == 0) return true;
    }
    return false;
}

// Runs a desktop tool when it is installed; its chatter is not for the player.
void runQuietly(const char* tool, const std::vector<fs::path>& args) {
    const QString exe = QStandardPaths::findExecutable(tool);
    if (exe.isEmpty()) return;
    QStringList list;
    for (const auto& a : args)
        list << QString::fromStdString(a.string());
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(exe, list);
    p.waitForFinished(30000);
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
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::istringstream list(dirs && *dirs ? dirs : "/usr/local/share:/usr/share");
    std::string dir;
    while (std::getline(list, dir, ':'))
        if (fs::path(dir).is_absolute()) f.dataDirs.push_back(dir);
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
    if (const std::string icon = iconValue(); !icon.empty()) t += "Icon=" + entryValue(icon) + "\n";
    t += "StartupWMClass=" + std::string(kApplicationId) + "\n";
    t += "Terminal=false\n";
    if (inMenu) t += "Categories=Game;LogicGame;\n";
    return t;
}

std::string FreedesktopIntegration::iconValue() const {
    // An installed game's icon lies in the hicolor theme, which every icon
    // theme falls back on; its name follows the theme the player chose.
    const std::string png = std::string(kApplicationId) + ".png";
    std::vector<fs::path> roots{folders_.dataHome};
    roots.insert(roots.end(), folders_.dataDirs.begin(), folders_.dataDirs.end());
    for (const fs::path& root : roots) {
        std::error_code ec;
        for (fs::directory_iterator it(root / "icons" / "hicolor", ec), end; !ec && it != end;
             it.increment(ec))
            if (fs::is_regular_file(it->path() / "apps" / png, ec)) return kApplicationId;
    }
    return iconFile_.string();
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
    if (fileExists(mimeAppsFile())) {
        const std::string rest = withoutHandler(readText(mimeAppsFile()), mime,
                                                handlerFile(extension).filename().string());
        if (trim(rest).empty())
            removeFile(mimeAppsFile());
        else
            writeText(mimeAppsFile(), rest);
    }
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
        const std::string icon = iconValue();
        writeText(directoryFile(linkName),
                  "[Desktop Entry]\nType=Directory\nName=" + entryValue(linkName) + "\n" +
                      (icon.empty() ? "" : "Icon=" + entryValue(icon) + "\n"));
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
    if (folder != ShortcutFolder::Desktop) updateDesktopDatabase();
    return true;
}

bool FreedesktopIntegration::deleteShortcut(ShortcutFolder folder, const std::string& linkName) {
    const fs::path file = shortcutFile(folder, linkName);
    if (!removeFile(file)) return false;
    if (folder == ShortcutFolder::Programs) {
        removeFile(menuFile(linkName));
        removeFile(directoryFile(linkName));
        removeFolderIfEmpty(file.parent_path());
        removeFolderIfEmpty(menuFile(linkName).parent_path());
        removeFolderIfEmpty(menuFile(linkName).parent_path().parent_path());
        removeFolderIfEmpty(directoryFile(linkName).parent_path());
    }
    if (folder != ShortcutFolder::Desktop) updateDesktopDatabase();
    return true;
}

void FreedesktopIntegration::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void FreedesktopIntegration::updateDatabases() const {
    updateMimeDatabase();
    updateDesktopDatabase();
}

// The tools are optional: without them the desktop notices the files itself,
// only later. Once nothing is left to index, the index files go instead, with
// the folders that held only them.
void FreedesktopIntegration::updateMimeDatabase() const {
    const fs::path mime = folders_.dataHome / "mime";
    const fs::path packages = mime / "packages";
    if (folderHasEntries(packages)) {
        if (runTools_) runQuietly("update-mime-database", {mime});
        return;
    }
    for (const char* name : kMimeIndexFiles)
        removeQuietly(mime / name);
    for (const char* ext : {"box", "xsb"})
        removeQuietly(mime / (mimeType(ext) + ".xml"));
    removeFolderIfEmpty(mime / "application");
    removeFolderIfEmpty(packages);
    removeFolderIfEmpty(mime);
}

void FreedesktopIntegration::updateDesktopDatabase() const {
    const fs::path apps = folders_.dataHome / "applications";
    if (holdsFileHandlers(apps)) {
        if (runTools_) runQuietly("update-desktop-database", {apps});
        return;
    }
    removeQuietly(apps / "mimeinfo.cache");
    removeFolderIfEmpty(apps);
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
