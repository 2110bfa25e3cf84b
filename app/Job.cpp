#include "app/Job.h"

#include "app/GuardedCall.h"
#include "diagram/DiagramHost.h"

#include <sys/resource.h>
#include <unistd.h>
#include <utility>

namespace {

// How much lower a job's thread runs than the interface thread (nice).
constexpr int kJobNice = 10;
// The progress a window shows moves on after this many more bytes.
constexpr long long kProgressStepBytes = 4 << 20;

} // namespace

// What the work's diagram reports through: boxes go to the interface thread;
// there is no window to measure and no wait cursor, since nothing waits.
class CJob::BoxRelay : public IDiagramHost {
public:
    explicit BoxRelay(CJob& job) : job(job) {}
    Rect ClientRect() const override { return Rect{}; }
    void ShowWarning(const std::string& text) override { job.ShowBoxAndWait({text, true, {}}); }
    void ShowWarningWithReason(const std::string& text, const std::string& systemReason) override {
        job.ShowBoxAndWait({text, true, systemReason});
    }
    void ShowInformation(const std::string& text) override {
        job.ShowBoxAndWait({text, false, {}});
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

private:
    CJob& job;
};

CJob::CJob(QWidget* boxOwner, bool holdBoxes) : m_pBoxOwner(boxOwner), m_bHoldBoxes(holdBoxes) {
    // At most one wake-up for the progress waits at a time.
    m_progress.NotifyEvery(kProgressStepBytes, [this] {
        if (!m_bProgressPosted.exchange(true))
            QMetaObject::invokeMethod(this, "OnProgress", Qt::QueuedConnection);
    });
}

CJob::~CJob() {
    Stop();
}

void CJob::Start(Run run) {
    m_thread = std::thread([this, run = std::move(run)] {
        // Work in the background gives way to the interface thread.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kJobNice);
        std::exception_ptr error;
        try {
            BoxRelay relay(*this);
            run(relay, m_progress);
        } catch (...) {
            error = std::current_exception();
        }
        {
            const std::lock_guard lock(m_mutex);
            m_error = error;
        }
        QMetaObject::invokeMethod(this, "OnWorkEnded", Qt::QueuedConnection);
    });
}

void CJob::Stop() {
    m_progress.Cancel();
    {
        const std::lock_guard lock(m_mutex);
        m_bAbandoned = true;
    }
    m_boxClosed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CJob::Wait() {
    if (m_thread.joinable())
        m_thread.join();
    m_bRunning = false;
}

std::exception_ptr CJob::Error() const {
    if (Cancelled())
        return std::make_exception_ptr(LoadCancelled());
    const std::lock_guard lock(m_mutex);
    return m_error;
}

void CJob::OnWorkEnded() {
    if (m_thread.joinable())
        m_thread.join();
    m_bRunning = false;
    emit Finished();
}

void CJob::OnProgress() {
    m_bProgressPosted = false;
    emit ProgressMoved();
}

void CJob::ShowBoxAndWait(Box box) {
    std::unique_lock lock(m_mutex);
    if (m_bAbandoned)
        return;
    m_askedBox = std::move(box);
    m_bBoxOpen = true;
    QMetaObject::invokeMethod(this, "OnBoxAsked", Qt::QueuedConnection);
    m_boxClosed.wait(lock, [this] { return !m_bBoxOpen || m_bAbandoned; });
}

void CJob::OnBoxAsked() {
    std::optional<Box> box;
    {
        const std::lock_guard lock(m_mutex);
        box = std::exchange(m_askedBox, std::nullopt);
    }
    if (!box)
        return;
    if (Cancelled())
        BoxClosed();
    else if (m_bHoldBoxes)
        m_heldBox = std::move(box);
    else
        ShowBox(*box);
}

void CJob::ShowBox(const Box& box) {
    QWidget* owner = m_pBoxOwner.data();
    if (box.warning)
        ShowWarningBox(owner, box.text, box.systemReason);
    else
        ShowInformationBox(owner, box.text);
    m_shown.push_back(box.text);
    BoxClosed();
}

void CJob::BoxClosed() {
    {
        const std::lock_guard lock(m_mutex);
        m_bBoxOpen = false;
    }
    m_boxClosed.notify_all();
}

void CJob::Cancel() {
    m_progress.Cancel();
    if (m_heldBox) {
        m_heldBox.reset();
        BoxClosed();
    }
}

void CJob::ShowBoxes() {
    m_bHoldBoxes = false;
    if (std::optional<Box> held = std::exchange(m_heldBox, std::nullopt))
        ShowBox(*held);
}
