#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

namespace kovan {

// The catalogue of page commands that window.external.FCB reaches by name. Every subsystem
// registers its own commands; conceptually they are all methods of the main window (the
// receiver of every call), the registry only holds the callables.
//
// Names are matched ignoring ASCII letter case ("PlAyViDeO" finds "playVideo"); other
// characters must match exactly. GUI thread only: registration and calls alike.
class CommandRegistry {
public:
    // A command gets the parameter text as the page sent it and answers the result text.
    using Command = std::function<QString(const QString& params)>;
    // A command that never sets its result: the page gets "1".
    using Action = std::function<void(const QString& params)>;

    enum class Reply {
        Immediate, // answered inside the page's call
        Deferred,  // opens modal UI: runs after the call has returned to the engine, the page's
                   // script waits for the result (other views keep running meanwhile)
    };

    // Adds or replaces the command `name`. An empty name or an empty callable is ignored.
    void add(const QString& name, Command command, Reply reply = Reply::Immediate);
    void addAction(const QString& name, Action action, Reply reply = Reply::Immediate);
    void remove(const QString& name);

    bool contains(const QString& name) const;
    // Deferred for a registered modal command, Immediate for anything else.
    Reply replyKind(const QString& name) const;
    QStringList names() const;

    // The dispatcher: the result starts as "1"; an empty or unknown name answers "1" and calls
    // nothing; otherwise the command's answer. Exceptions thrown by the command pass through
    // unchanged (the bridge turns them into script errors).
    QString IWebCallBack(const QString& cName, const QString& cParams) const;

    // "PlayVideo" → "playvideo": only A-Z are folded.
    static QString asciiLower(const QString& name);

private:
    struct Entry {
        QString name; // as registered
        Command command;
        Reply reply = Reply::Immediate;
    };
    QHash<QString, Entry> m_entries; // key: asciiLower(name)
};

} // namespace kovan
