#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace kovan {

// The four navigation buttons and which section panel shows. Plain state; TMainForm repaints
// the buttons and shows / hides the panels. GUI thread.
//
// Button tags: 0 normal, 1 mouse over, 2 selected. At start the leftmost (signals, "sg") is
// selected and shown.
class SectionNavigation {
public:
    // Section keys in button order: signals, events, analysis, strategies.
    static const QStringList& keys();
    static bool isKey(const QString& key) { return keys().contains(key); }

    int tag(const QString& key) const;
    // The section whose panel is visible (currentSectionPanel).
    const QString& current() const { return m_current; }

    // navbtClick: the clicked button becomes selected and every other one normal (all are
    // repainted). Returns whether the section must switch, i.e. the key's panel is not the one
    // showing. The caller hides the content pane in every case.
    bool click(const QString& key);

    // Mouse enter / leave: 0 → 1 on enter, 1 → 0 on leave; returns whether the tag changed.
    bool enter(const QString& key);
    bool leave(const QString& key);

    // switchPae: the key's panel becomes current. The button tags stay as they are (a call from
    // the floating bar leaves the highlight where it was). False for an unknown key.
    bool switchTo(const QString& key);

private:
    int indexOf(const QString& key) const { return keys().indexOf(key); }

    std::array<int, 4> m_tags{2, 0, 0, 0};
    QString m_current = keys().front();
};

} // namespace kovan
