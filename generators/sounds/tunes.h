#pragma once

#include "smf_writer.h"

#include <vector>

namespace music {

// The five background pieces, in the order of music1.mid .. music5.mid.
Song marchTune();     // a cheerful brass march in C major
Song musicBoxWaltz(); // a calm music-box waltz in F major
Song swingTune();     // a light swing in B flat with vibraphone and walking bass
Song nightTune();     // a slow, mysterious piece in D minor
Song jigTune();       // a lively folk jig in G major, 6/8

std::vector<Song> allTunes();

} // namespace music
