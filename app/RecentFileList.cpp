#include "app/RecentFileList.h"

#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Recent File List");

QString Key(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

QString CRecentFileList::ShownPath(const QString& path) {
    if (path.size() <= kMaxShownCharacters)
        return path;
    const QString ellipsis = QStringLiteral("...");
    const qsizetype room = kMaxShownCharacters - ellipsis.size();
    qsizetype head = room / 3;
    qsizetype tail = room - head;
    // Never half of a character of two UTF-16 units.
    if (path[head - 1].isHighSurrogate())
        --head;
    if (path[path.size() - tail].isLowSurrogate())
        --tail;
    return path.left(head) + ellipsis + path.right(tail);
}

void CRecentFileList::Load() {
    QSettings settings;
    settings.beginGroup(kGroup);
    m_entries.clear();
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = settings.value(Key(i)).toString();
        if (!path.isEmpty() && !m_entries.contains(path))
            m_entries.append(path);
    }
}

void CRecentFileList::Add(const QString& path) {
    m_entries.removeAll(path);
    m_entries.prepend(path);
    while (m_entries.size() > kMaxEntries)
        m_entries.removeLast();
    Save();
}

void CRecentFileList::Save() const {
    QSettings settings;
    settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < m_entries.size())
            settings.setValue(Key(i), m_entries[i]);
        else
            settings.remove(Key(i));
    }
}
