#include "ui/platform/audio/music_player.h"

#include "ui/platform/audio/effect_player.h"

#include <QCoreApplication>
#include <QString>

namespace sokoban {

EffectPlayer::~EffectPlayer() = default;
MusicPlayer::~MusicPlayer() = default;

std::string musicOpenError(const std::filesystem::path& path, const std::string& reason) {
    // The reasons of the MIDI reader are sources of its own context.
    return QCoreApplication::translate("sokoban::MusicPlayer", "无法打开音乐文件“%1”：%2")
        .arg(QString::fromStdString(path.string()),
             QCoreApplication::translate("sokoban::MidiFile", reason.c_str()))
        .toStdString();
}

void ScriptedMusicPlayer::endRequest() {
    if (playing_) ++pending_;
    playing_ = false;
}

void ScriptedMusicPlayer::open(const std::filesystem::path& path) {
    calls.push_back("open " + path.string());
    endRequest();
    open_ = false;
    openPath.clear();
    if (failNextOpen) {
        std::string text = *failNextOpen;
        failNextOpen.reset();
        throw MusicDeviceError(text);
    }
    open_ = true;
    openPath = path;
    atStart_ = true;
    atEnd_ = false;
}

void ScriptedMusicPlayer::play() {
    calls.push_back("play");
    if (!open_) return;
    endRequest();
    if (atEnd_) atStart_ = true, atEnd_ = false;
    playedFromStart = atStart_;
    atStart_ = false;
    playing_ = true;
}

void ScriptedMusicPlayer::stop() {
    calls.push_back("stop");
    endRequest();
}

void ScriptedMusicPlayer::close() {
    calls.push_back("close");
    endRequest();
    open_ = false;
    openPath.clear();
}

void ScriptedMusicPlayer::finishPiece() {
    if (!playing_) return;
    atEnd_ = true;
    endRequest();
}

void ScriptedMusicPlayer::deliverNotifications() {
    while (pending_ > 0) {
        --pending_;
        if (onNotify) onNotify();
    }
}

} // namespace sokoban
