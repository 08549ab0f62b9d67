#pragma once

// The reminder chime: two soft bell tones, a major third apart, as a wave file.

#include <QByteArray>

namespace vantorel::artwork {

// A complete RIFF/WAVE file: 16-bit PCM, mono, 44 100 samples per second.
QByteArray chimeWave();

}  // namespace vantorel::artwork
