// The document of one opened data file: its path and title, the read of the
// file (away from the interface thread) and the open step that puts the table
// read into the view's diagram. It owns nothing and never saves.
#pragma once

#include <QObject>
#include <QString>

#include <string>

class CDiagram;
class CDrawContext;
struct LoadLimits;
struct LoadedTable;

class CKelvaroDoc : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Set by the view when it is made, before the document is opened; both
    // belong to the view.
    CDrawContext* m_pViewDC = nullptr;
    CDiagram* m_pDiagram = nullptr;

    // Checks that path (its bytes) can be read without ever waiting on it and
    // loads it into loading, a diagram no window shows yet. False (after a
    // message through loading) when the file cannot be read or the loader
    // refuses it. Runs on any thread.
    static bool ReadFile(const std::string& path, CDiagram& loading, const LoadLimits& limits);

    // Puts the table read from path into the diagram and paints the diagram
    // once into m_pViewDC.
    void OnOpenDocument(const QString& path, LoadedTable&& table);

    // The file the document was opened from; empty for an untitled document.
    const QString& PathName() const { return m_strPathName; }
    const QString& Title() const { return m_strTitle; }
    void SetTitle(const QString& title);

signals:
    void TitleChanged(const QString& title);

private:
    QString m_strPathName;
    QString m_strTitle;
};
