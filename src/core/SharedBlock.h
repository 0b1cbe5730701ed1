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
