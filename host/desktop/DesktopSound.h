#pragma once

// The reminder sound on the desktop: the wave file plays through Qt Multimedia while
// the mail client goes on.

#include "platform/Sound.h"

#include <memory>

class QSoundEffect;

namespace vantorel::host {

class DesktopSound : public platform::SoundPlayer {
public:
    DesktopSound();
    ~DesktopSound() override;
    void playWave(const QString& path) override;

private:
    std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace vantorel::host
