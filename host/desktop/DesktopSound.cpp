#include "host/desktop/DesktopSound.h"

#include <QSoundEffect>
#include <QUrl>

namespace vantorel::host {

DesktopSound::DesktopSound() : effect_(std::make_unique<QSoundEffect>()) {}

DesktopSound::~DesktopSound() = default;

void DesktopSound::playWave(const QString& path) {
    const QUrl source = QUrl::fromLocalFile(path);
    if (effect_->source() != source) {
        effect_->setSource(source);  // loads in the background; play() waits for it
    }
    effect_->play();
}

}  // namespace vantorel::host
