#include "core/CommandRegistry.h"

namespace kovan {

QString CommandRegistry::asciiLower(const QString& name) {
    QString out = name;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + (u'a' - u'A')));
    }
    return out;
}

void CommandRegistry::add(const QString& name, Command command, Reply reply) {
    if (name.isEmpty() || !command)
        return;
    m_entries.insert(asciiLower(name), Entry{name, std::move(command), reply});
}

void CommandRegistry::addAction(const QString& name, Action action, Reply reply) {
    if (!action)
        return;
    add(
        name,
        [action = std::move(action)](const QString& params) {
            action(params);
            return QStringLiteral("1");
        },
        reply);
}

void CommandRegistry::remove(const QString& name) {
    m_entries.remove(asciiLower(name));
}

bool CommandRegistry::contains(const QString& name) const {
    return !name.isEmpty() && m_entries.contains(asciiLower(name));
}

CommandRegistry::Reply CommandRegistry::replyKind(const QString& name) const {
    if (name.isEmpty())
        return Reply::Immediate;
    const auto it = m_entries.constFind(asciiLower(name));
    return it == m_entries.cend() ? Reply::Immediate : it->reply;
}

QStringList CommandRegistry::names() const {
    QStringList out;
    for (const Entry& e : m_entries)
        out.append(e.name);
    out.sort();
    return out;
}

QString CommandRegistry::IWebCallBack(const QString& cName, const QString& cParams) const {
    QString result = QStringLiteral("1");
    if (cName.isEmpty())
        return result;
    const auto it = m_entries.constFind(asciiLower(cName));
    if (it == m_entries.cend())
        return result;
    // Copy the callable: a command may replace or remove registrations while it runs.
    const Command command = it->command;
    result = command(cParams);
    return result;
}

} // namespace kovan
