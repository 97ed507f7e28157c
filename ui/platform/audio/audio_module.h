#pragma once

// The real effect and music players, with Qt Multimedia and FluidSynth behind them, live in
// a loadable module of their own: the game maps those libraries only once it is on screen.

#include "ui/platform/audio/effect_player.h"
#include "ui/platform/audio/music_player.h"

#include <memory>

namespace sokoban {

// The module's one entry point, looked up by this name. Call it on the user-interface
// thread with a QCoreApplication running.
inline constexpr const char* kMakeAudioPlayers = "sokobanMakeAudioPlayers";
using MakeAudioPlayers = void (*)(std::unique_ptr<EffectPlayer>& effects,
                                  std::unique_ptr<MusicPlayer>& music);

} // namespace sokoban
