#include "../game/test_support.h"
#include "ui/platform/desktop_integration.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>
#include <gtest/gtest.h>

namespace sokoban::testing {
namespace {

namespace fs = std::filesystem;

std::string text(const fs::path& file) {
    const Bytes b = readFile(file);
    return std::string(b.begin(), b.end());
}

void writeText(const fs::path& file, const std::string& s) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << s;
}

// Every file and folder below dir, as paths relative to it.
std::vector<std::string> tree(const fs::path& dir) {
    std::vector<std::string> out;
    if (!fs::exists(dir)) return out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        out.push_back(fs::relative(e.path(), dir).string());
    std::sort(out.begin(), out.end());
    return out;
}

// Sets an environment variable for the scope and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The Exec line's arguments the way a launcher reads them: the value's
// string escapes first, then quoting, then "%%".
std::vector<std::string> execArguments(std::string value) {
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char c = value[++i];
            unescaped += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
        } else {
            unescaped += value[i];
        }
    }
    std::vector<std::string> args;
    std::string arg;
    bool inArg = false, quoted = false;
    for (std::size_t i = 0; i < unescaped.size(); ++i) {
        const char c = unescaped[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < unescaped.size()) {
                arg += unescaped[++i];
            } else {
                arg += c;
            }
        } else if (c == '"') {
            quoted = inArg = true;
        } else if (c == ' ') {
            if (inArg) args.push_back(arg);
            arg.clear();
            inArg = false;
        } else {
            arg += c;
            inArg = true;
        }
    }
    if (inArg) args.push_back(arg);
    for (auto& a : args) {
        std::string out;
        for (std::size_t i = 0; i < a.size(); ++i) {
            out += a[i];
            if (a[i] == '%' && i + 1 < a.size() && a[i + 1] == '%') ++i;
        }
        a = out;
    }
    return args;
}

std::string execValue(const std::string& entry) {
    const auto at = entry.find("\nExec=");
    if (at == std::string::npos) return {};
    const auto end = entry.find('\n', at + 1);
    return entry.substr(at + 6, end - at - 6);
}

// desktop-file-validate and xmllint, where installed, on every file below dir.
void validateAll(const fs::path& dir) {
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    const QString xmllint = QStandardPaths::findExecutable("xmllint");
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file()) continue;
        const std::string ext = e.path().extension().string();
        QString tool;
        QStringList args;
        if ((ext == ".desktop" || ext == ".directory") && !validator.isEmpty()) {
            tool = validator;
        } else if ((ext == ".xml" || ext == ".menu") && !xmllint.isEmpty()) {
            tool = xmllint;
            args << "--noout";
        } else {
            continue;
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(tool, args << QString::fromStdString(e.path().string()));
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString out = QString::fromUtf8(p.readAll());
        EXPECT_EQ(p.exitCode(), 0) << e.path() << "\n" << out.toStdString();
        // The validator's warnings count as faults here too; hints do not.
        EXPECT_FALSE(out.contains("warning:") || out.contains("error:")) << e.path() << "\n"
                                                                         << out.toStdString();
    }
}

class FreedesktopTest : public ::testing::Test {
  protected:
    TempDir dir;
    DesktopFolders folders{dir.path / "data", dir.path / "config", dir.path / "桌面"};
    FreedesktopIntegration desktop{folders, false, "/opt/game/sokoban.png"};
    const std::string program = "/opt/my games/$HOME/sokoban";
};

TEST_F(FreedesktopTest, RegistersAFileTypeAndTakesItBackLeavingOtherDefaultsAlone) {
    writeText(desktop.mimeAppsFile(), "[Default Applications]\ntext/plain=editor.desktop;\n"
                                      "application/x-sokoban-box=old.desktop;\n\n"
                                      "[Added Associations]\napplication/x-sokoban-box="
                                      "sokoban-box.desktop;viewer.desktop;\n");
    desktop.registerFileType(".box", "推箱子游戏文件", program);

    const std::string mime = text(desktop.mimePackageFile(".box"));
    EXPECT_NE(mime.find("<mime-type type=\"application/x-sokoban-box\">"), std::string::npos);
    EXPECT_NE(mime.find("<comment>推箱子游戏文件</comment>"), std::string::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.box\"/>"), std::string::npos);
    EXPECT_EQ(desktop.mimePackageFile(".box"), dir.path / "data/mime/packages/sokoban-box.xml");

    const std::string handler = text(desktop.handlerFile(".box"));
    // Blanks and "$" in the program's path survive the launcher's quoting.
    EXPECT_NE(handler.find("Exec=\"/opt/my games/\\\\$HOME/sokoban\" %f\n"), std::string::npos)
        << handler;
    EXPECT_NE(handler.find("MimeType=application/x-sokoban-box;\n"), std::string::npos);
    EXPECT_NE(handler.find("Path=/opt/my games/$HOME\n"), std::string::npos);
    EXPECT_NE(handler.find("Icon=/opt/game/sokoban.png\n"), std::string::npos);
    EXPECT_NE(handler.find("NoDisplay=true"), std::string::npos);

    EXPECT_EQ(text(desktop.mimeAppsFile()), "[Default Applications]\ntext/plain=editor.desktop;\n"
                                            "application/x-sokoban-box=sokoban-box.desktop;"
                                            "old.desktop;\n\n"
                                            "[Added Associations]\napplication/x-sokoban-box="
                                            "sokoban-box.desktop;viewer.desktop;\n");

    desktop.unregisterFileType(".box", "推箱子游戏文件");
    EXPECT_FALSE(fs::exists(desktop.mimePackageFile(".box")));
    EXPECT_FALSE(fs::exists(desktop.handlerFile(".box")));
    EXPECT_EQ(text(desktop.mimeAppsFile()),
              "[Default Applications]\ntext/plain=editor.desktop;\n"
              "application/x-sokoban-box=old.desktop;\n\n"
              "[Added Associations]\napplication/x-sokoban-box=viewer.desktop;\n");
}

TEST_F(FreedesktopTest, TheTwoFileTypesAreIndependentAndRemovingNothingIsNoError) {
    EXPECT_NO_THROW(desktop.unregisterFileType(".xsb", "XSB推箱子仓库文件"));
    desktop.registerFileType(".box", "推箱子游戏文件", program);
    desktop.registerFileType(".XSB", "XSB推箱子仓库文件", program);
    EXPECT_EQ(text(desktop.mimeAppsFile()),
              "[Default Applications]\napplication/x-sokoban-xsb=sokoban-xsb.desktop;\n"
              "application/x-sokoban-box=sokoban-box.desktop;\n");
    desktop.unregisterFileType(".xsb", "XSB推箱子仓库文件");
    EXPECT_TRUE(fs::exists(desktop.handlerFile(".box")));
    EXPECT_FALSE(fs::exists(desktop.handlerFile(".xsb")));
    EXPECT_EQ(text(desktop.mimeAppsFile()),
              "[Default Applications]\napplication/x-sokoban-box=sokoban-box.desktop;\n");
}

TEST_F(FreedesktopTest, ShortcutsAreMadeOnceAndRemovedOnceInEachFolder) {
    const struct {
        ShortcutFolder folder;
        fs::path file;
    } cases[] = {
        {ShortcutFolder::Desktop, dir.path / "桌面/推箱子.desktop"},
        {ShortcutFolder::StartMenu, dir.path / "data/applications/推箱子.desktop"},
        {ShortcutFolder::Programs, dir.path / "data/applications/sokoban/推箱子.desktop"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(desktop.shortcutFile(c.folder, "推箱子"), c.file);
        EXPECT_TRUE(desktop.createShortcut(c.folder, program, "推箱子"));
        const std::string first = text(c.file);
        EXPECT_NE(first.find("Name=推箱子\n"), std::string::npos);
        EXPECT_NE(first.find("Exec=\"/opt/my games/\\\\$HOME/sokoban\"\n"), std::string::npos);
        EXPECT_FALSE(desktop.createShortcut(c.folder, "/elsewhere", "推箱子"));
        EXPECT_EQ(text(c.file), first);
    }
    EXPECT_NE(fs::status(cases[0].file).permissions() & fs::perms::owner_exec, fs::perms::none);
    // The programs menu is a submenu of its own.
    const std::string menu = text(desktop.menuFile("推箱子"));
    EXPECT_NE(menu.find("<Filename>sokoban-推箱子.desktop</Filename>"), std::string::npos);
    EXPECT_NE(menu.find("<Directory>sokoban-推箱子.directory</Directory>"), std::string::npos);
    EXPECT_NE(text(desktop.directoryFile("推箱子")).find("Type=Directory"), std::string::npos);

    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_TRUE(desktop.deleteShortcut(c.folder, "推箱子"));
        EXPECT_FALSE(fs::exists(c.file));
        EXPECT_FALSE(desktop.deleteShortcut(c.folder, "推箱子"));
    }
    EXPECT_FALSE(fs::exists(desktop.menuFile("推箱子")));
    EXPECT_FALSE(fs::exists(desktop.directoryFile("推箱子")));
    EXPECT_FALSE(fs::exists(dir.path / "data/applications/sokoban"));
}

TEST(DesktopEntryTest, TheProgramPathIsQuotedOnlyWhenItMustBeAndAlwaysReadsBack) {
    const struct {
        std::string program, exec;
    } cases[] = {
        {"/usr/games/sokoban", "/usr/games/sokoban %f"},
        {"/home/玩家/推箱子/sokoban", "/home/玩家/推箱子/sokoban %f"},
        {"/opt/100%/sokoban", "/opt/100%%/sokoban %f"},
        {"/opt/a=b,c+d/sokoban", "/opt/a=b,c+d/sokoban %f"},
        {"/opt/my games/sokoban", "\"/opt/my games/sokoban\" %f"},
        {"/opt/$x/`y`/sokoban", "\"/opt/\\\\$x/\\\\`y\\\\`/sokoban\" %f"},
        {"/opt/a\"b/sokoban", "\"/opt/a\\\\\"b/sokoban\" %f"},
        {"/opt/a\\b/sokoban", "\"/opt/a\\\\\\\\b/sokoban\" %f"},
        {"/opt/it's/sokoban", "\"/opt/it's/sokoban\" %f"},
        {"/opt/~x/#1/(a)/sokoban", "\"/opt/~x/#1/(a)/sokoban\" %f"},
        {"/opt/a;b|c&d<e>f*?/sokoban", "\"/opt/a;b|c&d<e>f*?/sokoban\" %f"},
        {"/opt/tab\there/sokoban", "\"/opt/tab\\there/sokoban\" %f"},
    };
    TempDir dir;
    FreedesktopIntegration desktop({dir.path / "data", dir.path / "config", dir.path / "desk"},
                                   false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        desktop.registerFileType(".box", "推箱子游戏文件", c.program);
        const std::string exec = execValue(text(desktop.handlerFile(".box")));
        EXPECT_EQ(exec, c.exec);
        EXPECT_EQ(execArguments(exec), (std::vector<std::string>{c.program, "%f"}));
    }
}

TEST(DesktopEntryTest, EveryFileWrittenPassesTheValidators) {
    TempDir dir;
    FreedesktopIntegration desktop({dir.path / "data", dir.path / "config", dir.path / "桌面"},
                                   false, dir.path / "sokoban.png");
    for (const std::string program : {"/usr/games/sokoban", "/opt/my games/$HOME/sokoban"}) {
        SCOPED_TRACE(program);
        desktop.registerFileType(".box", "推箱子游戏文件", program);
        desktop.registerFileType(".xsb", "XSB推箱子仓库文件", program);
        for (int f = 0; f < 3; ++f) {
            desktop.deleteShortcut(shortcutFolder(f), "推箱子");
            desktop.createShortcut(shortcutFolder(f), program, "推箱子");
        }
        validateAll(dir.path);
    }
}

// The game's trace in the user's folders, from nothing: every file type and
// shortcut made and taken back again, with the desktop tools run as in play.
TEST(DesktopEntryTest, TakingEverythingBackLeavesTheFoldersAsTheyWere) {
    TempDir dir;
    const fs::path data = dir.path / "data", config = dir.path / "config", desk = dir.path / "桌面";
    fs::create_directories(config);
    fs::create_directories(desk);
    writeText(data / "applications" / "editor.desktop",
              "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor\n");
    const auto before = tree(dir.path);
    FreedesktopIntegration desktop({data, config, desk}, true);
    desktop.registerFileType(".box", "推箱子游戏文件", "/usr/games/sokoban");
    desktop.registerFileType(".xsb", "XSB推箱子仓库文件", "/usr/games/sokoban");
    for (int f = 0; f < 3; ++f)
        desktop.createShortcut(shortcutFolder(f), "/usr/games/sokoban", "推箱子");
    const bool mimeTool = !QStandardPaths::findExecutable("update-mime-database").isEmpty();
    EXPECT_TRUE(fs::exists(desktop.mimeAppsFile()));
    EXPECT_EQ(fs::exists(data / "mime" / "mime.cache"), mimeTool);

    desktop.unregisterFileType(".box", "推箱子游戏文件");
    // The other type stays in force, with its database.
    EXPECT_TRUE(fs::exists(desktop.mimePackageFile(".xsb")));
    EXPECT_EQ(fs::exists(data / "mime" / "application" / "x-sokoban-xsb.xml"), mimeTool);
    desktop.unregisterFileType(".xsb", "XSB推箱子仓库文件");
    for (int f = 0; f < 3; ++f)
        desktop.deleteShortcut(shortcutFolder(f), "推箱子");
    EXPECT_EQ(tree(dir.path), before);

    // Without any file of the player's, the folders the game made go too
    // (the data folder itself belongs to the session).
    fs::remove_all(data);
    desktop.registerFileType(".box", "推箱子游戏文件", "/usr/games/sokoban");
    desktop.createShortcut(ShortcutFolder::Programs, "/usr/games/sokoban", "推箱子");
    desktop.unregisterFileType(".box", "推箱子游戏文件");
    desktop.deleteShortcut(ShortcutFolder::Programs, "推箱子");
    EXPECT_EQ(tree(dir.path), (std::vector<std::string>{"config", "data", "桌面"}));
}

TEST(DesktopEntryTest, MimeappsListLosesOnlyWhatTheGameAdded) {
    const struct {
        std::string before;
        std::string after; // empty: the file is gone
    } cases[] = {
        {"", ""},
        {"[Added Associations]\ntext/plain=editor.desktop;\n",
         "[Added Associations]\ntext/plain=editor.desktop;\n"},
        {"[Default Applications]\ntext/plain=editor.desktop;\n",
         "[Default Applications]\ntext/plain=editor.desktop;\n"},
        {"# mine\n", "# mine\n"},
        {"[Default Applications]\napplication/x-sokoban-box=other.desktop;\n",
         "[Default Applications]\napplication/x-sokoban-box=other.desktop;\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        TempDir dir;
        FreedesktopIntegration desktop({dir.path / "data", dir.path / "config", dir.path / "d"},
                                       false);
        if (!c.before.empty()) writeText(desktop.mimeAppsFile(), c.before);
        desktop.registerFileType(".box", "推箱子游戏文件", "/usr/games/sokoban");
        desktop.unregisterFileType(".box", "推箱子游戏文件");
        if (c.after.empty())
            EXPECT_FALSE(fs::exists(desktop.mimeAppsFile()));
        else
            EXPECT_EQ(text(desktop.mimeAppsFile()), c.after);
    }
}

// The desktop folder as the session names it, through the real lookup.
TEST(DesktopFolderTest, TheSessionsDesktopFolderIsFoundWithoutTrailingLineBreak) {
    TempDir dir;
    writeText(dir.path / "config" / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n");
    ScopedEnv home("HOME", dir.path.string());
    ScopedEnv config("XDG_CONFIG_HOME", (dir.path / "config").string());
    if (QStandardPaths::findExecutable("xdg-user-dir").isEmpty()) {
        EXPECT_EQ(DesktopFolders::userDesktop(), dir.path / "Desktop");
    } else {
        EXPECT_EQ(DesktopFolders::userDesktop(), dir.path / "桌面");
    }
    // A lookup tool that ends its answer with a line break, as they all do.
    writeText(dir.path / "tools" / "xdg-user-dir",
              "#!/bin/sh\necho \"" + (dir.path / "我的 桌面").string() + "\"\n");
    fs::permissions(dir.path / "tools" / "xdg-user-dir", fs::perms::owner_all);
    ScopedEnv path("PATH", (dir.path / "tools").string() + ":" + std::getenv("PATH"));
    EXPECT_EQ(DesktopFolders::userDesktop(), dir.path / "我的 桌面");

    DesktopFolders folders = DesktopFolders::forCurrentUser();
    FreedesktopIntegration desktop(folders, false);
    EXPECT_TRUE(desktop.createShortcut(ShortcutFolder::Desktop, "/usr/games/sokoban", "推箱子"));
    EXPECT_TRUE(fs::is_regular_file(dir.path / "我的 桌面" / "推箱子.desktop"));
}

// Every entry names the game's window class, so that docks and task
// switchers put the game's windows under it; the icon is the theme's icon of
// the game wherever one is installed, else the picture beside the program.
TEST(DesktopEntryTest, EntriesNameTheWindowClassAndTheInstalledIcon) {
    const struct {
        const char* what;
        const char* themeIcon; // below the temporary folder; none when empty
        fs::path iconFile;
        std::string iconLine; // none expected when empty
    } cases[] = {
        {"not installed", "", "/opt/game/sokoban.png", "Icon=/opt/game/sokoban.png\n"},
        {"not installed, no picture", "", "", ""},
        {"an icon of another name", "system/icons/hicolor/48x48/apps/sokoban.png",
         "/opt/game/sokoban.png", "Icon=/opt/game/sokoban.png\n"},
        {"installed for everyone", "system/icons/hicolor/48x48/apps/cn.tuixiangzi.sokoban.png",
         "/opt/game/sokoban.png", "Icon=cn.tuixiangzi.sokoban\n"},
        {"installed for the player", "data/icons/hicolor/256x256/apps/cn.tuixiangzi.sokoban.png",
         "", "Icon=cn.tuixiangzi.sokoban\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        if (*c.themeIcon) writeText(dir.path / c.themeIcon, "PNG");
        FreedesktopIntegration desktop(
            {dir.path / "data", dir.path / "config", dir.path / "desk", {dir.path / "system"}},
            false, c.iconFile);
        desktop.registerFileType(".box", "推箱子游戏文件", "/usr/games/sokoban");
        std::vector<fs::path> entries{desktop.handlerFile(".box")};
        for (int f = 0; f < 3; ++f) {
            desktop.createShortcut(shortcutFolder(f), "/usr/games/sokoban", "推箱子");
            entries.push_back(desktop.shortcutFile(shortcutFolder(f), "推箱子"));
        }
        for (const auto& file : entries)
            EXPECT_NE(text(file).find("\nStartupWMClass=cn.tuixiangzi.sokoban\n"),
                      std::string::npos)
                << file << "\n"
                << text(file);
        // The programs menu's folder shows the same icon.
        entries.push_back(desktop.directoryFile("推箱子"));
        for (const auto& file : entries) {
            const std::string entry = text(file);
            if (c.iconLine.empty())
                EXPECT_EQ(entry.find("Icon="), std::string::npos) << file;
            else
                EXPECT_NE(entry.find("\n" + c.iconLine), std::string::npos) << file << "\n"
                                                                            << entry;
        }
    }
}

// The system's data folders, where installed programs keep their icons.
TEST(DesktopFolderTest, TheSystemsDataFoldersComeFromTheEnvironment) {
    const struct {
        const char* value; // unset when null
        std::vector<fs::path> dirs;
    } cases[] = {
        {nullptr, {"/usr/local/share", "/usr/share"}},
        {"", {"/usr/local/share", "/usr/share"}},
        {"/opt/games/share:relative/share::/usr/share", {"/opt/games/share", "/usr/share"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "unset");
        ScopedEnv env("XDG_DATA_DIRS", c.value ? c.value : "");
        if (!c.value) ::unsetenv("XDG_DATA_DIRS");
        EXPECT_EQ(DesktopFolders::forCurrentUser().dataDirs, c.dirs);
    }
}

TEST_F(FreedesktopTest, AFolderThatCannotBeWrittenThrowsWithItsPath) {
    writeText(dir.path / "桌面", "a file where the desktop folder should be");
    try {
        desktop.createShortcut(ShortcutFolder::Desktop, program, "推箱子");
        FAIL() << "no error";
    } catch (const fs::filesystem_error& e) {
        EXPECT_EQ(e.path1(), dir.path / "桌面");
    }
}

} // namespace
} // namespace sokoban::testing
