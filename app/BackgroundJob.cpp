#include "app/BackgroundJob.h"

#include "app/GuardedCall.h"
#include "diagram/DiagramHost.h"

#include <utility>

// What the work's diagram reports through: boxes go to the interface thread;
// there is no window to measure and no wait cursor, since nothing waits.
class CBackgroundJob::BoxRelay : public IDiagramHost {
public:
    explicit BoxRelay(CBackgroundJob& job) : job(job) {}
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
    CBackgroundJob& job;
};

CBackgroundJob::CBackgroundJob(Work work, QWidget* boxOwner, bool holdBoxes)
    : m_pBoxOwner(boxOwner), m_bHoldBoxes(holdBoxes) {
    m_thread = std::thread([this, work = std::move(work)] {
        try {
            BoxRelay relay(*this);
            work(relay, m_progress);
        } catch (...) {
            // Read once this thread has ended (Finished, or Wait).
            m_error = std::current_exception();
        }
        // Delivered only while the job lives: a job being destroyed waits
        // for this thread and wants no report.
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_bRunning = false;
                emit Finished();
            },
            Qt::QueuedConnection);
    });
}

CBackgroundJob::~CBackgroundJob() {
    m_progress.Cancel();
    {
        const std::lock_guard lock(m_mutex);
        m_bAbandoned = true;
    }
    m_boxClosed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CBackgroundJob::Wait() {
    if (m_thread.joinable())
        m_thread.join();
    m_bRunning = false;
}

void CBackgroundJob::ShowBoxAndWait(Box box) {
    std::unique_lock lock(m_mutex);
    if (m_bAbandoned)
        return;
    m_bBoxOpen = true;
    QMetaObject::invokeMethod(
        this,
        [this, box = std::move(box)] {
            if (m_bHoldBoxes && !Cancelled())
                m_heldBox = box;
            else if (!Cancelled())
                ShowBox(box);
            else
                BoxClosed();
        },
        Qt::QueuedConnection);
    m_boxClosed.wait(lock, [this] { return !m_bBoxOpen || m_bAbandoned; });
}

void CBackgroundJob::ShowBox(const Box& box) {
    QWidget* owner = m_pBoxOwner.data();
    if (box.warning)
        ShowWarningBox(owner, box.text, box.systemReason);
    else
        ShowInformationBox(owner, box.text);
    m_shown.push_back(box.text);
    BoxClosed();
}

void CBackgroundJob::BoxClosed() {
    {
        const std::lock_guard closed(m_mutex);
        m_bBoxOpen = false;
    }
    m_boxClosed.notify_all();
}

void CBackgroundJob::Cancel() {
    m_progress.Cancel();
    if (m_heldBox) {
        m_heldBox.reset();
        BoxClosed();
    }
}

void CBackgroundJob::ShowBoxes() {
    m_bHoldBoxes = false;
    if (std::optional<Box> held = std::exchange(m_heldBox, std::nullopt))
        ShowBox(*held);
}
