// Where the game keeps each of its files.
//
// The program directory (appDir) holds the built-in level sets, the music and
// the help, and is only read. When the player can write it (the build
// folder, a copy on a USB stick) the game's own files stay there too, as they
// always have; otherwise they go to the per-user data folder,
// $XDG_DATA_HOME/sokoban/ or ~/.local/share/sokoban/. Either is the game's
// own folder: settings, level-set list, undo histories, and the companion
// files of the built-in sets.
//
// A level set in a folder the player can write keeps its companion files
// beside it. One in any other folder keeps them in the game's own folder,
// under a name made from the set's full path, so that two sets of the same
// name never share records. So does a set whose companion files beside it
// are symbolic links or files the player made read-only: the game never
// writes through a link (one in a downloaded folder may lead to any file of
// the player's) nor over a file the player meant to keep. The copy in the
// game's own folder starts from the records beside the set. A settings or
// list file in the program directory that is a link or read-only likewise
// gives way to one in the per-user folder.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace sokoban {

class FilePlaces {
  public:
    // Asks the system whether appDir is writable and the environment where
    // the per-user folder is.
    explicit FilePlaces(std::filesystem::path appDir);
    // Everything given: the per-user folder and which folders the player
    // may write.
    using CanWrite = std::function<bool(const std::filesystem::path&)>;
    FilePlaces(std::filesystem::path appDir, std::filesystem::path userDir, CanWrite canWrite);

    const std::filesystem::path& appDir() const { return appDir_; }
    const std::filesystem::path& userDir() const { return userDir_; }
    bool portable() const { return appDirWritable_; }

    // appDir when it is writable, otherwise the per-user folder, created
    // when missing (a failure shows at the first file opened in it).
    std::filesystem::path ownDir() const;

    // These three are written whole; each is the per-user folder's file
    // when the program directory's is a link or read-only.
    std::filesystem::path settingsFile() const;    // game.var
    std::filesystem::path listFile() const;        // game.lst
    std::filesystem::path playOptionsFile() const; // assist.var
    // The undo history of this running copy: game-<process id>.tmp.
    std::filesystem::path undoFile() const;
    // A built-in level set, read where it is installed.
    std::filesystem::path builtinSet(const std::string& name) const;
    bool isBuiltinSet(const std::string& gameFile) const;

    // The companion files of a level set without their extension: the set's
    // path less its last four characters when they stay beside it.
    std::string companionBase(const std::string& gameFile) const {
        return companionPlace(gameFile).base;
    }
    struct CompanionPlace {
        std::string base;
        // When the files are not beside the set: the companion files beside
        // it without their extension, which a new copy starts from.
        std::string startFrom;
    };
    CompanionPlace companionPlace(const std::string& gameFile) const;

    // Removes from the game's own folder the undo histories of copies of
    // the game that have ended, and the unfinished new copies of files they
    // were writing when they were killed.
    void removeStaleUndoFiles() const;

  private:
    std::filesystem::path ownFile(const std::string& name) const;

    std::filesystem::path appDir_;
    std::filesystem::path userDir_;
    CanWrite canWrite_;
    bool appDirWritable_ = true;
};

// $XDG_DATA_HOME/sokoban when that is an absolute path, otherwise
// $HOME/.local/share/sokoban (the home folder of the user account when HOME
// is unset).
std::filesystem::path userDataDir();

// Whether the player may create and rename files in a folder.
bool isWritableDir(const std::filesystem::path& dir);

// Process id of an undo-history file name "game-<id>.tmp", or 0.
long undoFileOwner(const std::string& fileName);

} // namespace sokoban
