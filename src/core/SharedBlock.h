#pragma once

#include <QString>

namespace kovan {

// POSIX shared-memory objects ("/" + name) that carry the companion's session and mark a
// running client.

struct SessionBlockRead {
    enum class Status { Missing, Unmappable, Ok };
    Status status = Status::Missing;
    QString text; // the zero-terminated UTF-16LE text at the start of the block
};

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

// Opens "/" + name read/write and reads its text. The mapping stays in place for the life of
// the process (the companion's block is never written by the client).
SessionBlockRead readSessionBlock(const QString& name);

// Creates or replaces "/" + name holding `text` as zero-terminated UTF-16LE (the companion's
// side; also used by tests). Returns false when the object cannot be created.
bool publishSessionBlock(const QString& name, const QString& text);
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
