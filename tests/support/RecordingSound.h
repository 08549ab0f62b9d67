#pragma once

// A sound player for tests: nothing is heard, every wave asked for is recorded.
// Installed while the scope lives.

#include "platform/Sound.h"
#include "tests/support/QuietServices.h"

#include <QStringList>

#include <memory>

namespace vantorel::test {

class RecordingSound : public platform::SoundPlayer {
public:
    void playWave(const QString& path) override { played << path; }
    QStringList played;
};

class SoundScope {
public:
    SoundScope() : sound(std::make_shared<RecordingSound>()) {
        platform::installSoundPlayer(sound);
    }
    ~SoundScope() { installQuietServices(); }
    SoundScope(const SoundScope&) = delete;
    SoundScope& operator=(const SoundScope&) = delete;
    RecordingSound* operator->() { return sound.get(); }
    std::shared_ptr<RecordingSound> sound;
};

}  // namespace vantorel::test
