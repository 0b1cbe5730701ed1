#pragma once

#include <QString>

#include <sys/types.h>

namespace kovan {

// The facts the choice of the program folder <dir> rests on. probe() reads them from the file
// system and the environment; tests build them by hand.
struct ProgramDirFacts {
    QString dirOption;              // --dir, absolute with a trailing "/"; empty when not given
    QString executableDir;          // absolute, without a trailing "/"
    bool shareFolderExists = false; // <executableDir>/../share/kovan is a folder
    bool executableDirWritable = true;
    QString xdgDataHome; // the environment's XDG_DATA_HOME, as set (may be empty)
    QString home;        // the environment's HOME, as set (may be empty)

    static ProgramDirFacts probe(const QString& dirOption, const QString& executableDir);
};

// Which folder is the program folder <dir> (config.dat, the companion, cache/, sound/,
// history/, logs/, …):
//  - `--dir DIR` given: DIR, always.
//  - The client runs installed (its executable in a folder named "bin" beside "share/kovan")
//    or its own folder is not writable: the per-user data folder $XDG_DATA_HOME/kovan/, where
//    an unset, empty or relative XDG_DATA_HOME stands for $HOME/.local/share. Without a usable
//    HOME either, the executable's folder.
//  - Otherwise (a build tree, a folder of its own): the executable's folder.
struct ProgramDirChoice {
    enum class Kind { Option, ExecutableFolder, PerUser };

    Kind kind = Kind::ExecutableFolder;
    QString dir; // absolute, with a trailing "/"

    // The decision from the facts alone: no file system access.
    static ProgramDirChoice decide(const ProgramDirFacts& facts);

    // For a per-user folder: creates it when missing (private to the user) and, when it holds
    // no companion "zrs" yet, copies `companionSource` there (the companion installed beside
    // the client). Other kinds: nothing. Returns false when the folder could not be made; the
    // start-up procedure then fails on its folders as it would anywhere else.
    bool prepare(const QString& companionSource) const;

    // A program folder belongs to one account: its files (config.dat, the logs) are made for
    // that account alone. The complaint when the folder `dir` exists and belongs to another
    // account than `self`; the empty text when it is the caller's or does not exist yet.
    static QString otherAccountProblem(const QString& dir, uid_t self);
};

} // namespace kovan
