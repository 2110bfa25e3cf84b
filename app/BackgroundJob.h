// Runs one read of a file on a thread of its own and reports back on the
// interface thread, which stays free meanwhile: the reads of opens, zoom
// windows and live refreshes. A message box the read asks for is shown by the
// interface thread, in the order asked, and the read waits until the user has
// closed it, as it would on the interface thread.
#pragma once

#include "diagram/LoadProgress.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class IDiagramHost;

class CBackgroundJob : public QObject {
    Q_OBJECT
public:
    // The work gets the host its diagram reports through and the progress
    // it counts its bytes in (and stops at once cancelled).
    using Work = std::function<void(IDiagramHost& host, LoadProgress& progress)>;

    // Starts work at once; its boxes go over boxOwner. With holdBoxes, a box
    // the work asks for waits until ShowBoxes is called (reads that must
    // speak in the order they were started).
    CBackgroundJob(Work work, QWidget* boxOwner, bool holdBoxes = false);
    // Cancels the work and waits for its thread.
    ~CBackgroundJob() override;
    CBackgroundJob(const CBackgroundJob&) = delete;
    CBackgroundJob& operator=(const CBackgroundJob&) = delete;

    const LoadProgress& Progress() const { return m_progress; }
    // Asks the work to stop; Finished follows. A box it shows stays until
    // the user closes it; a box held back is dropped.
    void Cancel();
    // Lets the work's boxes show from now on, the one held back first.
    void ShowBoxes();
    bool Cancelled() const { return m_progress.Cancelled(); }
    bool Running() const { return m_bRunning; }
    // Waits here until the work has ended; Finished still follows. Only for
    // work that shows no box, since a box needs the interface thread.
    void Wait();
    // Once finished: the error the work ended with, null when it succeeded.
    // A cancelled work ends with LoadCancelled.
    std::exception_ptr Error() const { return m_error; }
    // The texts of the boxes shown for the work, in order.
    const std::vector<std::string>& ShownMessages() const { return m_shown; }

signals:
    // On the interface thread, once the work has ended however it ended.
    void Finished();

private:
    class BoxRelay;
    // What a box shows; a warning's systemReason goes only to the log.
    struct Box {
        std::string text;
        bool warning;
        std::string systemReason;
    };
    // On the work's thread: shows a box through the interface thread and
    // waits until it is closed (or the job is being destroyed).
    void ShowBoxAndWait(Box box);
    // On the interface thread: the box, then the work goes on.
    void ShowBox(const Box& box);
    void BoxClosed();

    LoadProgress m_progress;
    QPointer<QWidget> m_pBoxOwner;
    bool m_bRunning = true;
    std::exception_ptr m_error;
    std::vector<std::string> m_shown;
    std::mutex m_mutex;
    std::condition_variable m_boxClosed;
    bool m_bBoxOpen = false;
    bool m_bHoldBoxes;
    std::optional<Box> m_heldBox;
    bool m_bAbandoned = false;
    std::thread m_thread;
};
