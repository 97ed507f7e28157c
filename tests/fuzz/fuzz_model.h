// The game model on the level set "set.box" of a folder, with a recording
// view and scripted dialogs, as the fuzz targets and their seeds open it.
#pragma once

#include "session/game_model.h"
#include "tests/game/test_support.h"

#include <filesystem>

namespace sokoban::fuzz {

struct SetModel {
    testing::RecordingView view;
    ScriptedDialogs dialogs;
    GameModel model{view, dialogs};

    explicit SetModel(const std::filesystem::path& dir) {
        view.model = &model;
        model.setAppDir(dir);
        model.setGameFile((dir / "set.box").string());
    }
};

} // namespace sokoban::fuzz
