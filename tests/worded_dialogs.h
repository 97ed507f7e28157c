// Scripted dialogs for the tests of the windows: the model's messages are
// kept as words, as the player reads them.
#pragma once

#include "session/dialogs.h"
#include "ui/messages.h"

namespace sokoban {

class WordedDialogs : public ScriptedDialogs {
  public:
    std::string words(const Message& m) const override { return messageText(m).toStdString(); }
};

} // namespace sokoban
