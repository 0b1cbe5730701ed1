#include "audio/DefaultAlertSound.h"

#include <QtEndian>

#include <cmath>

namespace kovan {

namespace {

void appendLe32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void appendLe16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

QByteArray makeChime() {
    constexpr int rate = 22050;
    constexpr double pi = 3.14159265358979323846;
    // Two notes (A5, E6) of 150 ms each, with 10 ms fades so that no click is heard.
    const double notes[] = {880.0, 1318.5};
    constexpr int noteSamples = rate * 150 / 1000;
    constexpr int fade = rate * 10 / 1000;
    QList<qint16> samples;
    samples.reserve(2 * noteSamples);
    for (const double f : notes) {
        for (int i = 0; i < noteSamples; ++i) {
            double gain = 0.35;
            if (i < fade)
                gain *= double(i) / fade;
            else if (i > noteSamples - fade)
                gain *= double(noteSamples - i) / fade;
            samples.append(qint16(std::lround(gain * 32767.0 * std::sin(2 * pi * f * i / rate))));
        }
    }
    return makeWav(samples, rate);
}

} // namespace

QByteArray makeWav(const QList<qint16>& samples, int sampleRate) {
    const quint32 dataBytes = quint32(samples.size()) * 2;
    QByteArray out;
    out.reserve(44 + int(dataBytes));
    out.append("RIFF", 4);
    appendLe32(out, 36 + dataBytes);
    out.append("WAVEfmt ", 8);
    appendLe32(out, 16);                      // fmt chunk size
    appendLe16(out, 1);                       // PCM
    appendLe16(out, 1);                       // mono
    appendLe32(out, quint32(sampleRate));     // samples per second
    appendLe32(out, quint32(sampleRate) * 2); // bytes per second
    appendLe16(out, 2);                       // block align
    appendLe16(out, 16);                      // bits per sample
    out.append("data", 4);
    appendLe32(out, dataBytes);
    for (const qint16 s : samples)
        appendLe16(out, quint16(s));
    return out;
}

const QByteArray& defaultAlertWav() {
    static const QByteArray wav = makeChime();
    return wav;
}

} // namespace kovan
