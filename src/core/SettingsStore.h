#pragma once

#include "core/NameValueList.h"

#include <QString>

namespace kovan {

// The client's settings: the name=value lines of config.dat in the program folder. GUI thread
// only: start-up reads the file, the member login, the terms window and the lecture settings
// read and change values, and save() writes them back.
class SettingsStore : public NameValueList {
public:
    // `programDir` (absolute, with a trailing "/") is read at each save: it must outlive the
    // store (the program's folder, settled at start).
    explicit SettingsStore(const QString& programDir) : m_programDir(programDir) {}

    // <program folder>config.dat.
    QString filePath() const { return m_programDir + QStringLiteral("config.dat"); }
    // Writes the lines to filePath(). Throws FileOpenError; the values in memory stay.
    void save() const;

private:
    const QString& m_programDir;
};

} // namespace kovan
