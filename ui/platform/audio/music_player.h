#pragma once

// The background-music device: opens a MIDI file, plays it with a notification when the
// play request ends, stops it (keeping the position), and closes it.

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sokoban {

// A file the sequencer cannot open. what() is the sequencer's own text for the user,
// naming the file and the reason.
class MusicDeviceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The text of a MusicDeviceError for a file the sequencer could not read.
std::string musicOpenError(const std::filesystem::path& path, const std::string& reason);

class MusicPlayer {
  public:
    virtual ~MusicPlayer();

    // Opens a MIDI file at its beginning, after closing whatever is open (which silences it
    // and ends its play request). Throws MusicDeviceError when the file cannot be opened;
    // the player is then closed.
    virtual void open(const std::filesystem::path& path) = 0;
    // Plays from the current position; a piece that has reached its end starts again from
    // its beginning. A play request still running is replaced (and ends). Does nothing
    // while no file is open.
    virtual void play() = 0;
    // Stops playing and keeps the position, so that play() continues from there.
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    // Closes the file; the position is lost.
    virtual void close() = 0;

    // Called on the user-interface thread, from the event loop, once for every play request
    // that ends: the piece finished, or it was stopped, replaced or closed.
    std::function<void()> onNotify;
};

// Stand-in for tests: records the calls, plays nothing, and lets the test end the piece.
// Notifications are queued like the real player's and delivered by deliverNotifications().
class ScriptedMusicPlayer : public MusicPlayer {
  public:
    void open(const std::filesystem::path& path) override;
    void play() override;
    void stop() override;
    bool isPlaying() const override { return playing_; }
    void close() override;

    // The playing piece reaches its end.
    void finishPiece();
    // Runs onNotify for every queued notification, including ones queued meanwhile.
    void deliverNotifications();
    int pendingNotifications() const { return pending_; }

    // "open <path>", "play", "stop", "close" in the order they came.
    std::vector<std::string> calls;
    std::filesystem::path openPath;
    // When set, the next open() fails with this text.
    std::optional<std::string> failNextOpen;
    // Whether the last play() started from the beginning (a fresh or finished piece).
    bool playedFromStart = false;

  private:
    void endRequest();
    bool open_ = false;
    bool playing_ = false;
    bool atStart_ = true;
    bool atEnd_ = false;
    int pending_ = 0;
};

} // namespace sokoban
