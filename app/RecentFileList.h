// The recent-file list of the File menu: the most recently opened file first,
// at most a fixed number of entries, kept in the per-user settings.
#pragma once

#include <QString>
#include <QStringList>

class CRecentFileList {
public:
    static constexpr int kMaxEntries = 15;
    // A menu entry shows at most this many characters of its path.
    static constexpr int kMaxShownCharacters = 64;

    // path as its menu entry shows it: a longer one keeps its start and its
    // end (the file name) around "..." in the middle. The list keeps the
    // whole path.
    static QString ShownPath(const QString& path);

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
