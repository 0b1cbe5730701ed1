#pragma once

#include "alerts/PriceAlert.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace kovan {

// <program folder>alerts.dat: the member's price alerts, kept across runs (they belong to the
// program folder, not to a member session). A JSON object:
//
//   {"format": 1, "alerts": [{"symbol": "XAU", "price": 2050.5, "direction": "rise",
//     "note": "止盈", "repeat": false, "enabled": true, "state": "waiting",
//     "triggeredAt": ""}, …]}
//
// "direction" is "rise" or "fall", "state" "waiting" or "triggered", "triggeredAt" the last
// trigger as ISO 8601 UTC with milliseconds ("" when none). symbol, price and direction are
// required; the others default to "", false, true, "waiting" and "". The file is replaced
// atomically and readable by the user only.
namespace alertfile {

inline constexpr int kFormat = 1;
inline const QString kFileName = QStringLiteral("alerts.dat");
inline const QString kBadSuffix = QStringLiteral(".bad");
// Far above 500 alerts with long notes; a larger file is not ours.
inline constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

QByteArray encode(const std::vector<PriceAlert>& alerts);

// The alerts of a file's bytes; false (with `problem` said) for anything that is not a file of
// this format: broken JSON, another format number, an entry without a usable symbol, price or
// direction, or a field of the wrong kind.
bool decode(const QByteArray& bytes, std::vector<PriceAlert>& alerts, QString* problem);

struct ReadResult {
    enum class Status { Missing, Read, Bad } status = Status::Missing;
    std::vector<PriceAlert> alerts;
    QString problem; // Bad: why
};
// Reads `path` (a regular file of at most kMaxBytes).
ReadResult read(const QString& path);

// Writes `alerts` to `path` by atomic replace, mode 0600. False with `error` said on failure
// (the old file stays).
bool write(const QString& path, const std::vector<PriceAlert>& alerts, QString* error);

// Moves a file that could not be read aside to `path` + ".bad" (replacing an older one).
bool keepAsBad(const QString& path);

} // namespace alertfile
} // namespace kovan
