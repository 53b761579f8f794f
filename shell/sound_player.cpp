#include "shell/sound_player.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#if defined(__linux__)
#include <unistd.h>
#endif

namespace vell {

namespace {

// The files made by scripts/make-sounds.py, in the order of GameSound.
const char* const SoundFiles[] = {"qrc:/sounds/place.wav", "qrc:/sounds/pass.wav",
                                  "qrc:/sounds/end.wav"};

// Whether the sound server that the toolkit plays through on Linux can be reached. Asking the
// toolkit for a device without one prints a warning, so the socket is looked for first.
bool SoundServerReachable() {
#if defined(__linux__)
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return true;
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) runtime = QStringLiteral("/run/user/%1").arg(getuid());
    return QFileInfo::exists(runtime + QStringLiteral("/pulse/native")) ||
           QFileInfo::exists(QStringLiteral("/run/pulse/native"));
#else
    return true;
#endif
}

}  // namespace

SoundPlayer::SoundPlayer() = default;

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::Load() {
    loaded = true;
    // Without an output the effects are never made, so nothing reports the missing device.
    if (!SoundServerReachable()) return;
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) return;
    for (int i = 0; i < int(effects.size()); ++i) {
        effects[i] = std::make_unique<QSoundEffect>(output);
        effects[i]->setSource(QUrl(QString::fromLatin1(SoundFiles[i])));
        effects[i]->setVolume(0.6f);
    }
}

void SoundPlayer::Play(GameSound sound) {
    if (!enabled) return;
    if (!loaded) Load();
    QSoundEffect* effect = effects[static_cast<int>(sound)].get();
    if (!effect) return;
    effect->stop();
    effect->play();
}

}  // namespace vell
