// The document of one opened data file: its path and title, and the open step
// that loads the file into the view's diagram. It owns nothing and never saves.
#pragma once

#include <QObject>
#include <QString>

class CDiagram;
class CDrawContext;

class CKelvaroDoc : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Set by the view when it is made, before the document is opened; both
    // belong to the view.
    CDrawContext* m_pViewDC = nullptr;
    CDiagram* m_pDiagram = nullptr;

    // Checks that path can be read, loads it into the diagram and paints the
    // diagram once into m_pViewDC. False (after a message) when the file cannot
    // be read or the loader refuses it.
    bool OnOpenDocument(const QString& path);

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
