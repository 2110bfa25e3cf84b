// One piece of a file's work away from the interface thread: the read of a
// file being opened, the rows of a zoom window, a live refresh, a spectrum.
// The work runs on a thread of its own with the values it was given and
// hands back one value; its progress and its cancellation go through one
// LoadProgress. A message box the work asks for is shown by the interface
// thread, in the order asked, and the work waits until it is closed, as it
// would on the interface thread.
//
// Whatever crosses between the two threads (the value, the error, a box's
// text) is handed over under the job's own mutex, so a thread checker sees
// the order; Qt is only asked to wake the interface thread, with nothing
// attached.
#pragma once

#include "diagram/LoadProgress.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class IDiagramHost;

class CJob : public QObject {
    Q_OBJECT
public:
    // Cancels the work, lets a box it waits for go, and waits for its
    // thread; Finished is not emitted then.
    ~CJob() override;
    CJob(const CJob&) = delete;
    CJob& operator=(const CJob&) = delete;

    const LoadProgress& Progress() const { return m_progress; }
    // Asks the work to stop; Finished follows unless it came already. The
    // value of work that has ended is dropped all the same. A box it shows
    // stays until the user closes it; a box held back is dropped.
    void Cancel();
    bool Cancelled() const { return m_progress.Cancelled(); }
    // Until the work has ended and Finished has been emitted, or Wait has
    // waited for it.
    bool Running() const { return m_bRunning; }
    // Lets the work's boxes show from now on, the one held back first.
    void ShowBoxes();
    // Waits here until the work has ended; Finished still follows. Only for
    // work that shows no box, since a box needs the interface thread.
    void Wait();
    // Once finished: the error the work ended with; LoadCancelled when it
    // was cancelled, whenever that was; null when it gave its value.
    std::exception_ptr Error() const;
    // The texts of the boxes shown for the work, in order.
    const std::vector<std::string>& ShownMessages() const { return m_shown; }

signals:
    // On the interface thread, once the work has ended however it ended.
    void Finished();
    // On the interface thread, now and then while the work counts bytes.
    void ProgressMoved();

protected:
    // Boxes go over boxOwner; with holdBoxes they wait for ShowBoxes (reads
    // that must speak in the order they were started).
    CJob(QWidget* boxOwner, bool holdBoxes);
    using Run = std::function<void(IDiagramHost& host, LoadProgress& progress)>;
    // Starts run on the job's thread; a subclass calls it once it is whole.
    void Start(Run run);
    // Stops and joins the thread: a subclass's destructor calls it before
    // its members go, since the work writes into them.
    void Stop();
    // Guards what the work hands back.
    std::mutex& ResultMutex() { return m_mutex; }

private slots:
    void OnWorkEnded();
    void OnBoxAsked();
    void OnProgress();

private:
    class BoxRelay;
    struct Box {
        std::string text;
        bool warning = true;
        std::string systemReason; // goes to the log only
    };
    // On the work's thread: asks for the box and waits until it is closed
    // (or the job is being destroyed).
    void ShowBoxAndWait(Box box);
    void ShowBox(const Box& box);
    void BoxClosed();

    LoadProgress m_progress;
    QPointer<QWidget> m_pBoxOwner;
    bool m_bRunning = true;
    bool m_bHoldBoxes;
    std::vector<std::string> m_shown;
    std::optional<Box> m_heldBox;
    std::atomic<bool> m_bProgressPosted{false};

    // Under m_mutex: what the two threads hand each other.
    mutable std::mutex m_mutex;
    std::condition_variable m_boxClosed;
    std::exception_ptr m_error;
    std::optional<Box> m_askedBox; // asked for, not yet taken by the interface thread
    bool m_bBoxOpen = false;
    bool m_bAbandoned = false;

    std::thread m_thread;
};

// A job whose work gives a value of type Result.
template <class Result> class CValueJob : public CJob {
public:
    using Work = std::function<Result(IDiagramHost& host, LoadProgress& progress)>;

    // Starts work at once. keep holds what the work reads (a table it was
    // handed, say) until the value is taken or the job goes, and lets go of
    // it on the interface thread.
    CValueJob(Work work, QWidget* boxOwner, bool holdBoxes = false,
              std::shared_ptr<const void> keep = nullptr)
        : CJob(boxOwner, holdBoxes), m_keep(std::move(keep)) {
        Start([this, work = std::move(work)](IDiagramHost& host, LoadProgress& progress) {
            Result result = work(host, progress);
            const std::lock_guard lock(ResultMutex());
            m_result.emplace(std::move(result));
        });
    }
    ~CValueJob() override { Stop(); }

    // Once finished: the value, taken out; raises the error the work ended
    // with (LoadCancelled for a cancelled job). Either way the job lets go
    // of what it was given to read.
    Result TakeResult() {
        m_keep.reset();
        if (const std::exception_ptr error = Error())
            std::rethrow_exception(error);
        const std::lock_guard lock(ResultMutex());
        Result result = std::move(*m_result);
        m_result.reset();
        return result;
    }

private:
    std::shared_ptr<const void> m_keep;
    std::optional<Result> m_result; // under ResultMutex()
};
