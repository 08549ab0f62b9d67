#include "resources/artwork/Sound.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vantorel::artwork {

namespace {

const int kRate = 44100;
const double kLength = 1.3;  // seconds

struct Tone {
    double start;      // seconds
    double frequency;  // Hz
    double gain;
};

// E5, then C5: a falling major third, each note a soft bell (a short attack, a long
// decay, a few quieter overtones).
const Tone kTones[] = {{0.0, 659.26, 0.42}, {0.36, 523.25, 0.42}};

double bell(double t, double frequency) {
    if (t < 0) {
        return 0;
    }
    const double attack = std::min(1.0, t / 0.006);
    const double decay = std::exp(-t * 4.2);
    const double w = 2 * std::numbers::pi * frequency * t;
    const double overtones = std::sin(w) + 0.35 * std::exp(-t * 3.0) * std::sin(2 * w) +
                             0.12 * std::exp(-t * 6.0) * std::sin(3 * w);
    return attack * decay * overtones / 1.47;
}

}  // namespace

QByteArray chimeWave() {
    const int nSamples = static_cast<int>(kRate * kLength);
    std::vector<qint16> samples(nSamples);
    for (int i = 0; i < nSamples; ++i) {
        const double t = double(i) / kRate;
        double value = 0;
        for (const Tone& tone : kTones) {
            value += tone.gain * bell(t - tone.start, tone.frequency);
        }
        // A short fade at the very end so the file stops without a click.
        const double tail = std::min(1.0, (kLength - t) / 0.05);
        value = std::clamp(value * tail, -1.0, 1.0);
        samples[i] = static_cast<qint16>(std::lround(value * 32767));
    }

    const quint32 nDataBytes = quint32(nSamples) * 2;
    QByteArray wave;
    QDataStream out(&wave, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + nDataBytes);
    out.writeRawData("WAVE", 4);
    out.writeRawData("fmt ", 4);
    out << quint32(16)         // size of the format block
        << quint16(1)          // PCM
        << quint16(1)          // mono
        << quint32(kRate)      // samples per second
        << quint32(kRate * 2)  // bytes per second
        << quint16(2)          // bytes per sample frame
        << quint16(16);        // bits per sample
    out.writeRawData("data", 4);
    out << nDataBytes;
    for (const qint16 sample : samples) {
        out << sample;
    }
    return wave;
}

}  // namespace vantorel::artwork
