#pragma once

#include <QByteArray>
#include <QList>

namespace kovan {

// A RIFF/WAVE file of 16-bit signed mono samples.
QByteArray makeWav(const QList<qint16>& samples, int sampleRate);

// The alert sound the client plays when a sound file is not a playable WAV: a short two-tone
// chime (about 0.3 s, 22050 Hz mono), made once and kept. Any thread.
const QByteArray& defaultAlertWav();

} // namespace kovan
