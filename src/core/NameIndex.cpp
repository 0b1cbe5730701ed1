#include "core/NameIndex.h"

namespace kovan {

size_t NameIndex::foldedHash(QStringView s) noexcept {
    // FNV-1a over the case-folded code points.
    size_t h = 1469598103934665603ull;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i].unicode();
        if (c < 128) {
            if (c >= u'A' && c <= u'Z')
                c += 32;
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < n && s[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), s[++i].unicode());
            c = QChar::toCaseFolded(c);
        }
        h = (h ^ c) * 1099511628211ull;
    }
    return h;
}

QStringView NameIndex::nameOf(QStringView line) {
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QStringView() : line.left(eq);
}

void NameIndex::rebuild(const QStringList& lines) {
    size_t cap = 16;
    while (cap < size_t(lines.size()) * 2 + 2)
        cap *= 2;
    m_slots.assign(cap, Slot{});
    m_used = 0;
    m_next.assign(size_t(lines.size()), -1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringView name = nameOf(lines[i]);
        if (!name.isNull())
            append(name, i);
    }
}

const NameIndex::Slot* NameIndex::slotFor(QStringView name, size_t hash) const {
    if (m_slots.empty())
        return nullptr;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = m_slots[i];
        if (!s.used)
            return nullptr;
        if (s.hash == hash && s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    }
}

NameIndex::Slot* NameIndex::slotFor(QStringView name, size_t hash) {
    return const_cast<Slot*>(std::as_const(*this).slotFor(name, hash));
}

qsizetype NameIndex::find(QStringView key) const {
    const Slot* s = slotFor(key, foldedHash(key));
    return s ? s->first : -1;
}

void NameIndex::grow() {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    const size_t mask = m_slots.size() - 1;
    for (const Slot& s : old) {
        if (!s.used)
            continue;
        size_t i = s.hash & mask;
        while (m_slots[i].used)
            i = (i + 1) & mask;
        m_slots[i] = s;
    }
}

void NameIndex::append(QStringView name, qsizetype line) {
    if (size_t(line) >= m_next.size())
        m_next.resize(size_t(line) + 1, -1);
    if ((m_used + 1) * 2 > m_slots.size())
        grow();
    const size_t h = foldedHash(name);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
        Slot& s = m_slots[i];
        if (!s.used) {
            s = Slot{name, h, line, line, true};
            ++m_used;
            return;
        }
        if (s.hash == h && s.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (s.first < 0)
                s.first = line;
            else
                m_next[size_t(s.last)] = line;
            s.last = line;
            return;
        }
    }
}

void NameIndex::removeFirst(QStringView name) {
    Slot* s = slotFor(name, foldedHash(name));
    if (!s || s->first < 0)
        return;
    s->first = m_next[size_t(s->first)];
    if (s->first < 0)
        s->last = -1;
}

} // namespace kovan
