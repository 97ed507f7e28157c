// What the game model asks of the window that shows it: one way in, the
// events of what changed.
#pragma once

#include "session/events.h"

namespace sokoban {

class GameView {
  public:
    virtual ~GameView() = default;

    // Shows what the events say, in their order.
    virtual void apply(const Events& events) = 0;
};

} // namespace sokoban
