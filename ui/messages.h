// The words of the messages of the game model and the file layer: one
// translatable sentence per message id, with the Chinese text as the source.
#pragma once

#include "session/messages.h"

#include <QString>

namespace sokoban {

// The message as the player reads it; MessageId::None is no text.
QString messageText(const Message& m);

} // namespace sokoban
