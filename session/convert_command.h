// Tools menu, converting level sets made before version 1.25: turns a
// level-set file of the older, smaller grid into the current layout, in
// place.
#pragma once

#include "session/dialogs.h"

namespace sokoban {

// Asks for the file, converts it and reports the outcome. The companion files
// and the level set in play are left alone.
void N1251Click(Dialogs& dialogs);

} // namespace sokoban
