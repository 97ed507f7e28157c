// Level text in the game: files of one level or a whole collection opened
// from the command line or the open dialog, levels and collections pasted
// from the clipboard, the current level copied as XSB, the set exported as
// one collection, answers as letters both ways, and the titles of levels.
// Standard C++ only; the window hands over the clipboard's text.
#pragma once

#include "session/game_model.h"
#include "storage/level_collection.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sokoban {

// The extensions of level text files, upper-cased: ".XSB", ".SOK", ".TXT".
bool isLevelTextFile(const std::string& path);

// What to tell the player about levels of a collection left out
// (ImportSummary); MessageId::None when every level came in.
Message importMessage(const CollectionImport& import);

class LevelTextCommands {
  public:
    LevelTextCommands(GameModel& model, Dialogs& dialogs,
                      std::filesystem::path levelsDir = userLevelsDir());

    // A file of level text: one level (or none) is played as an XSB file,
    // more levels open as a level set.
    void openFile(const std::string& path);
    // The level on the board, as it stands now, as XSB text.
    std::string copyLevel() const;
    // Plays a level, or opens a collection, from a text; `name` is what the
    // player calls the clipboard, the name of its level file and collection.
    void pasteLevel(const std::string& text, const std::string& name);
    // Export the whole set as one collection file.
    void exportCollection();
    // Copy the stored answer of the level as letters; nullopt (after a
    // message) when there is none.
    std::optional<std::string> copyAnswer();
    // Paste an answer in letters: checked on the level, stored and shown
    // as an imported answer file is.
    void pasteAnswer(const std::string& text);

    // The last panel of the status bar: the level's title and author.
    static Message titlePanel(const GameModel& model);
    // The lines of the level information window that name the level.
    static std::vector<Message> titleLines(const GameModel& model);

  private:
    void openCollection(const CollectionImport& set);

    GameModel& model_;
    Dialogs& dialogs_;
    std::filesystem::path levelsDir_;
};

} // namespace sokoban
