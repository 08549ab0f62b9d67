#include "platform/Sound.h"

#include "platform/SystemServices.h"

#include <QFileInfo>

namespace vantorel::platform {

namespace {
std::shared_ptr<SoundPlayer>& installed() {
    static std::shared_ptr<SoundPlayer> player = systemSoundPlayer();
    return player;
}
}  // namespace

void PlayWaveAsync(const QString& path) {
    if (const std::shared_ptr<SoundPlayer> player = installed()) {
        player->playWave(path);
    }
}

void installSoundPlayer(std::shared_ptr<SoundPlayer> player) {
    installed() = player ? std::move(player) : systemSoundPlayer();
}

bool FileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

}  // namespace vantorel::platform
