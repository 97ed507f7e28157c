#include "ui/platform/audio/audio_module.h"

#include "ui/platform/audio/fluidsynth_music_player.h"

extern "C" __attribute__((visibility("default"))) void
sokobanMakeAudioPlayers(std::unique_ptr<sokoban::EffectPlayer>& effects,
                        std::unique_ptr<sokoban::MusicPlayer>& music) {
    effects = std::make_unique<sokoban::QtEffectPlayer>();
    music = std::make_unique<sokoban::FluidSynthMusicPlayer>();
}

namespace sokoban {
// The entry point's type and the typedef the game calls it through must agree.
static_assert(std::is_same_v<decltype(&sokobanMakeAudioPlayers), MakeAudioPlayers>);
} // namespace sokoban
