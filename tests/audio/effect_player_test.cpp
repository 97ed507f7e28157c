#include "platform/audio/effect_player.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(QtEffectPlayer, PlaysAnyNameWithoutComplaintWithOrWithoutSound) {
    audio_test::app();
    sokoban::QtEffectPlayer player;
    for (const char* name : {"MOVE", "PUSH", "PONG", "pong", "undo", "Undo", "no such effect", ""})
        EXPECT_NO_THROW(player.play(name)) << name;
    QCoreApplication::processEvents();
}

} // namespace
