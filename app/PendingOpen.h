// One file being opened: its read on a worker thread, its progress in the
// status bar, and the table the window is made from once the read is
// complete. A zoom window's open reads the file with the zoom's X range, or
// takes its rows from the window it was drawn in when the file is unchanged.
#pragma once

#include "app/BackgroundJob.h"
#include "diagram/LoadedTable.h"
#include "diagram/ZoomRequest.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class CKelvaroDoc;
class CKelvaroView;
class CLoadProgressPane;
class QStatusBar;

class CPendingOpen : public QObject {
    Q_OBJECT
public:
    struct Request {
        QString path; // absolute
        std::optional<ZoomRequest> zoom;
        // The window a zoom was drawn in: its table may give the rows.
        QPointer<CKelvaroView> zoomSource;
        // Runs once the window is shown.
        std::function<void(CKelvaroDoc&)> opened;
    };

    // Starts the read; boxes go over boxOwner (held back until ShowBoxes
    // with holdBoxes), the progress into statusBar.
    CPendingOpen(Request request, QWidget* boxOwner, QStatusBar& statusBar, bool holdBoxes);
    // Stops the read if it still runs and takes the progress away.
    ~CPendingOpen() override;

    const Request& GetRequest() const { return m_request; }
    const QString& CanonicalPath() const { return m_canonicalPath; }
    CBackgroundJob& Job() { return *m_pJob; }
    // Whether the read gave a table (false after its message or an error).
    bool Succeeded() const { return m_bRead; }
    LoadedTable TakeTable() { return std::move(m_table); }

signals:
    void Finished(CPendingOpen* open);

private:
    CBackgroundJob::Work MakeWork();

    Request m_request;
    QString m_canonicalPath;
    // Written by the read, read once it has finished.
    LoadedTable m_table;
    bool m_bRead = false;
    // Goes with the status bar when the main window closes first.
    QPointer<CLoadProgressPane> m_pPane;
    std::unique_ptr<CBackgroundJob> m_pJob;
};
