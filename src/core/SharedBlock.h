#pragma once

#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

namespace kovan {

// POSIX shared-memory objects ("/" + name) that carry the companion's session and mark a
// running client.

// The block's default name, "KOVANUSERSHARE.<uid>": such blocks are per login session where
// the companion comes from, while /dev/shm is one for every account of the machine, so the
// name carries the account (the effective user id). The companion stand-in publishes under it.
QString defaultSessionBlockName();

struct SessionBlockRead {
    enum class Status { Missing, Refused, Unmappable, Ok };
    Status status = Status::Missing;
    QString text;    // the zero-terminated UTF-16LE text at the start of the block
    QString problem; // Refused: why the block was not read, for the log (never its text)
};

// The largest block read: a session is a short JSON object (the stand-in writes 4 KiB).
inline constexpr qint64 kMaxSessionBlockBytes = 1024 * 1024;

// Why a shared-memory object is not one a session is taken from: the empty text when it is a
// plain shared-memory object owned by `self`, not writable by group or others and of at most
// kMaxSessionBlockBytes; otherwise the reason ("owned by uid 1001", "writable by group or
// others (mode 0666)", …). Anyone who may write the block could hand the client a session.
QString checkPrivateSharedObject(const struct stat& st, uid_t self);
// The same for an open object, for the calling process's effective account.
QString checkPrivateSharedObject(int fd);

// The text at the start of a block: UTF-16LE units up to the first zero unit or the end of the
// block, and no more than kMaxSessionTextUnits (a session is a short JSON object; a block of a
// gigabyte must not become a gigabyte of text).
inline constexpr size_t kMaxSessionTextUnits = 64 * 1024;
QString sessionBlockText(const char16_t* units, size_t count);

// What the client takes from the block's text: the JSON object's UID and sessid; usable when
// the UID is above 0 and the session id is one an address can carry (isUsableSessid).
struct PublishedSession {
    qint64 uid = 0;
    QString sessid;
    bool usable = false;
};
PublishedSession parsePublishedSession(const QString& text);

// Opens "/" + name read/write and reads its text when checkPrivateSharedObject finds nothing
// wrong with it (Refused otherwise; a link or a folder of that name is refused at the open). The
// mapping stays in place for the life of the process (the companion's block is never written by
// the client).
SessionBlockRead readSessionBlock(const QString& name);

// Publishes `text` as zero-terminated UTF-16LE in "/" + name (the companion's side; also used by
// tests): always in a new object created exclusively with mode 0600, replacing a block of the
// caller's own. A name taken by another account's block (or by anything but a block of the
// caller's) is left alone: false, with the reason in `problem`. False too when the object
// cannot be created.
bool publishSessionBlock(const QString& name, const QString& text, QString* problem = nullptr);
void removeSessionBlock(const QString& name);

// The running-client marker: a 4-byte object named "/{CAF49BBB-AF40-4FDE-8757-51D5AEB5BBBF}",
// created with value 0 or opened when it exists. Every client holds a shared lock on it; the
// last one to end (the one that can take the exclusive lock) removes it.
class InstanceMarker {
public:
    static constexpr const char* kName = "/{CAF49BBB-AF40-4FDE-8757-51D5AEB5BBBF}";

    InstanceMarker();
    ~InstanceMarker();
    InstanceMarker(const InstanceMarker&) = delete;
    InstanceMarker& operator=(const InstanceMarker&) = delete;

    bool isHeld() const { return m_fd >= 0; }
    // Releases now (removing the object when no other client holds it); idempotent.
    void release();

    static bool exists();

private:
    int m_fd = -1;
    void* m_view = nullptr;
};

} // namespace kovan
