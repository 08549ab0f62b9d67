#include "host/desktop/DesktopSound.h"

#include <QSoundEffect>
#include <QUrl>

#include <memory>

namespace vantorel::host {

namespace {

class DesktopSound : public platform::SoundPlayer {
public:
    void playWave(const QString& path) override {
        const QUrl source = QUrl::fromLocalFile(path);
        if (effect_.source() != source) {
            effect_.setSource(source);  // loads in the background; play() waits for it
        }
        effect_.play();
    }

private:
    QSoundEffect effect_;
};

}  // namespace

std::shared_ptr<platform::SoundPlayer> desktopSoundPlayer() {
    return std::make_shared<DesktopSound>();
}

}  // namespace vantorel::host
