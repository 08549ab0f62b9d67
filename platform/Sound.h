#pragma once

// Playing the reminder sound: a wave file given by its name, asynchronously, so the
// caller never waits for it. The desktop host plays it; scripts print what was asked.

#include <QString>

#include <memory>

namespace vantorel::platform {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing the wave file at PATH and returns at once.
    virtual void playWave(const QString& path) = 0;
};

// Through the installed player; with none installed (or null) the system's plays it
// (SystemServices.h: PlaySoundW on Windows, nothing elsewhere).
void PlayWaveAsync(const QString& path);
void installSoundPlayer(std::shared_ptr<SoundPlayer> player);

// Whether a file exists at PATH, links followed.
bool FileExists(const QString& path);

}  // namespace vantorel::platform
