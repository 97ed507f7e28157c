#include "../game/test_support.h"
#include "platform/desktop_integration.h"

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
                                            "application/x-sokoban-box=sokoban-box.desktop;\n\n"
                                            "[Added Associations]\napplication/x-sokoban-box="
                                            "sokoban-box.desktop;viewer.desktop;\n");

    desktop.unregisterFileType(".box", "推箱子游戏文件");
    EXPECT_FALSE(fs::exists(desktop.mimePackageFile(".box")));
    EXPECT_FALSE(fs::exists(desktop.handlerFile(".box")));
    EXPECT_EQ(text(desktop.mimeAppsFile()),
              "[Default Applications]\ntext/plain=editor.desktop;\n\n"
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
