// What the game model asks of the window that shows it.
#pragma once

#include "session/messages.h"

#include <string>

namespace sokoban {

// Captions and images of the answer and retry buttons.
enum class DemoButtons { Idle, Running, Paused };

class GameView {
public:
    virtual ~GameView() = default;

    // Geometry and drawing.
    virtual void FitBoard() = 0;
    virtual void PaintBoard() = 0; // black, background, every cell
    virtual void DrawCell(int i) = 0;
    virtual void DrawMan(int frame) = 0;
    virtual void RandomFace() = 0;

    // Texts (messages the window words) and controls.
    virtual void SetCaption(const Message& text) = 0;
    // MessageId::None: the panel shows what it shows otherwise.
    virtual void SetStatusText(int panel, const Message& text) = 0;
    virtual void SetNextEnabled(bool on) = 0;   // tbNextRecord and mNextRecord
    virtual void SetUndoEnabled(bool on) = 0;   // tbUndo only
    virtual void SetAnswerEnabled(bool on) = 0; // tbLoadAnswer and mLoadAnswer
    virtual void SetDemoButtons(DemoButtons state) = 0;
    virtual void SetGameItemChecked(int item) = 0; // 1..5, 0 = none
    virtual void SetManagerEnabled(bool on) = 0;   // M1

    // Timers, sound, cursor, window.
    virtual void StopWalking() = 0;                 // Timer2
    virtual void StartWalking(int interval) = 0;    // Timer2; 0 keeps the interval
    virtual void SetDemoTimer(bool on) = 0;         // Timer4
    virtual void SetDemoInterval(int interval) = 0; // Timer4
    virtual void PlayEffect(const std::string& name) = 0;
    virtual void SetBoardCursor(const std::string& name) = 0;
    virtual void Minimise() = 0;
};

} // namespace sokoban
