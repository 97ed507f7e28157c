// A main window started in a temporary program directory, for the dialogs
// that work on it, and screenshots of the dialogs on request.
#pragma once

#include "../game/test_support.h"
#include "../worded_dialogs.h"
#include "ui/main/main_form.h"
#include "ui/platform/audio/music_player.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace sokoban::testing {

// SOKOBAN_SCREENSHOT=<folder> saves a picture of the widget under the test's name.
inline void screenshot(QWidget& w, const QString& suffix = {}) {
    const char* dir = std::getenv("SOKOBAN_SCREENSHOT");
    if (!dir) return;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    w.grab().save(
        QString("%1/%2_%3%4.png").arg(dir, info->test_suite_name(), info->name(), suffix));
}

class MainFormFixture : public ::testing::Test {
  protected:
    TempDir dir;
    WordedDialogs dialogs;
    ScriptedMusicPlayer music;
    std::unique_ptr<TMainForm> form;

    std::string appFile(const std::string& name) const { return dirPrefix(dir.path) + name; }
    GameModel& model() { return form->model(); }

    // A three-level set named name in the program directory (or a full path).
    void writeSet(const std::filesystem::path& file) {
        writeLevelSet(file, {makeLevel({"#####", "#@$.#", "#####"}),
                             makeLevel({"######", "#@ $.#", "######"}),
                             makeLevel({"#######", "#@  $.#", "#######"})});
    }
    void start() {
        writeSet(dir.path / "game.box");
        MainFormServices services;
        services.dialogs = &dialogs;
        services.music = &music;
        form = std::make_unique<TMainForm>(dir.path, QStringList{"sokoban"}, services);
        form->FormCreate();
        dialogs.takeTexts();
    }
    void TearDown() override { form.reset(); }
};

} // namespace sokoban::testing
