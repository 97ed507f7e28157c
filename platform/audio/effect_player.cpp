#include "platform/audio/effect_player.h"

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <map>

namespace sokoban {

namespace {

// Qt's sound backend reports a missing sound server on the console when it is first asked
// for devices; a machine without sound is normal for this game, so keep that quiet.
void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

bool audioOutputPresent() {
    const QtMessageHandler previous = qInstallMessageHandler(dropMessage);
    const bool present = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(previous);
    return present;
}

std::string lowerCase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

struct QtEffectPlayer::Impl {
    // QSoundEffect does not read resource paths reliably, so the effects are copied once
    // into a private temporary folder and played from there.
    QTemporaryDir folder;
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects;
    QSoundEffect* sounding = nullptr;
};

QtEffectPlayer::QtEffectPlayer() : impl_(std::make_unique<Impl>()) {
    if (!impl_->folder.isValid() || !audioOutputPresent()) return;
    for (const char* name : {"move", "push", "pong", "undo"}) {
        QFile resource(QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(name)));
        const QString path =
            impl_->folder.filePath(QStringLiteral("%1.wav").arg(QLatin1String(name)));
        if (!resource.open(QIODevice::ReadOnly)) continue;
        QFile copy(path);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(resource.readAll()) < 0) continue;
        copy.close();
        auto effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(path));
        effect->setVolume(0.8f);
        impl_->effects.emplace(name, std::move(effect));
    }
}

QtEffectPlayer::~QtEffectPlayer() = default;

bool QtEffectPlayer::hasOutput() const {
    return !impl_->effects.empty();
}

void QtEffectPlayer::play(const std::string& name) {
    auto it = impl_->effects.find(lowerCase(name));
    if (it == impl_->effects.end()) return;
    if (impl_->sounding) impl_->sounding->stop();
    impl_->sounding = it->second.get();
    impl_->sounding->play();
}

} // namespace sokoban
