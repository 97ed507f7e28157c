// The desktop around the game: the program as the handler of its file types,
// shortcuts to the game on the desktop and in the menus, and opening a page
// (help, home page) with whatever the desktop uses for it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sokoban {

// The name the desktop knows the game by: its menu entry, its icon in the
// icon theme and the class of its windows.
inline constexpr const char* kApplicationId = "cn.tuixiangzi.sokoban";

// Where a shortcut goes: 0 desktop, 1 start menu, 2 programs menu.
enum class ShortcutFolder { Desktop = 0, StartMenu = 1, Programs = 2 };

// Any other number counts as the desktop.
ShortcutFolder shortcutFolder(int index);

// Failed file work throws std::filesystem::filesystem_error (path and reason).
class DesktopIntegration {
  public:
    virtual ~DesktopIntegration() = default;

    // Makes the program the handler of files with this extension (".box"),
    // shown to the user as typeName.
    virtual void registerFileType(const std::string& extension, const std::string& typeName,
                                  const std::string& program) = 0;
    // Removes the handler again; nothing registered is no error.
    virtual void unregisterFileType(const std::string& extension, const std::string& typeName) = 0;

    // Creates the shortcut to target; false (and nothing written) when it is
    // already there.
    virtual bool createShortcut(ShortcutFolder folder, const std::string& target,
                                const std::string& linkName) = 0;
    // Deletes the shortcut; false when there was none.
    virtual bool deleteShortcut(ShortcutFolder folder, const std::string& linkName) = 0;

    // Opens a page or file with the desktop's handler; the result is not examined.
    virtual void openUrl(const std::string& url) = 0;
};

// The folders a freedesktop session keeps these things in.
struct DesktopFolders {
    std::filesystem::path dataHome;   // ~/.local/share: applications, mime, icons
    std::filesystem::path configHome; // ~/.config: mimeapps.list, menus
    std::filesystem::path desktop;    // the desktop folder; looked up when first needed if empty
    std::vector<std::filesystem::path> dataDirs{}; // the system's: installed icons

    // The current user's folders: XDG_DATA_HOME, XDG_CONFIG_HOME,
    // XDG_DATA_DIRS; the desktop is left to be looked up.
    static DesktopFolders forCurrentUser();
    // The user's desktop folder from xdg-user-dir, else ~/Desktop.
    static std::filesystem::path userDesktop();
};

// File types as shared-mime-info packages and .desktop handlers with the
// default recorded in mimeapps.list; shortcuts as .desktop files. The menu
// folder of the programs menu is a submenu of its own. Every entry names the
// game's window class, so that the desktop ties the game's windows to it.
class FreedesktopIntegration : public DesktopIntegration {
  public:
    // runTools: run update-mime-database and update-desktop-database (when
    // installed) after a change. iconFile: the picture the entries show where
    // the icon theme has no icon of the game (a game that is not installed);
    // none when empty.
    explicit FreedesktopIntegration(DesktopFolders folders, bool runTools = true,
                                    std::filesystem::path iconFile = {});

    void registerFileType(const std::string& extension, const std::string& typeName,
                          const std::string& program) override;
    void unregisterFileType(const std::string& extension, const std::string& typeName) override;
    bool createShortcut(ShortcutFolder folder, const std::string& target,
                        const std::string& linkName) override;
    bool deleteShortcut(ShortcutFolder folder, const std::string& linkName) override;
    void openUrl(const std::string& url) override;

    // Where things are written, for the curious and for tests.
    std::filesystem::path shortcutFile(ShortcutFolder folder, const std::string& linkName) const;
    std::filesystem::path mimePackageFile(const std::string& extension) const;
    std::filesystem::path handlerFile(const std::string& extension) const;
    std::filesystem::path mimeAppsFile() const { return folders_.configHome / "mimeapps.list"; }
    std::filesystem::path menuFile(const std::string& linkName) const;
    std::filesystem::path directoryFile(const std::string& linkName) const;
    // "application/x-sokoban-box" for ".box".
    static std::string mimeType(const std::string& extension);

  private:
    void updateDatabases() const;
    void updateMimeDatabase() const;
    void updateDesktopDatabase() const;
    std::string entryText(const std::string& name, const std::string& target, bool inMenu,
                          const std::string& extra) const;
    // The Icon= value: the theme's icon of the game when one is installed,
    // else iconFile; empty for none.
    std::string iconValue() const;

    const std::filesystem::path& desktopFolder() const;

    mutable DesktopFolders folders_;
    bool runTools_;
    std::filesystem::path iconFile_;
};

// Stand-in for tests: remembers what was asked and which shortcuts exist.
class ScriptedDesktop : public DesktopIntegration {
  public:
    std::vector<std::string> calls;          // "register .box 推箱子游戏文件 /prog", ...
    std::vector<std::string> shortcuts;      // "0 推箱子", ...
    std::vector<std::string> urls;           // every page opened
    std::optional<std::string> failWithPath; // next file operation fails on this path

    void registerFileType(const std::string& extension, const std::string& typeName,
                          const std::string& program) override;
    void unregisterFileType(const std::string& extension, const std::string& typeName) override;
    bool createShortcut(ShortcutFolder folder, const std::string& target,
                        const std::string& linkName) override;
    bool deleteShortcut(ShortcutFolder folder, const std::string& linkName) override;
    void openUrl(const std::string& url) override { urls.push_back(url); }

  private:
    void maybeFail();
};

} // namespace sokoban
