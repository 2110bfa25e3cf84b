// The recent-file list of the File menu: the most recently opened file first,
// at most a fixed number of entries, kept in the per-user settings.
#pragma once

#include <QString>
#include <QStringList>

class CRecentFileList {
public:
    static constexpr int kMaxEntries = 15;

    // Reads the list from the settings group "Recent File List".
    void Load();
    // Puts path at the top (moving it there if present, dropping the oldest
    // entry beyond the limit) and writes the list back at once.
    void Add(const QString& path);
    const QStringList& Entries() const { return m_entries; }

private:
    void Save() const;

    QStringList m_entries;
};
