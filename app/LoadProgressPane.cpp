#include "app/LoadProgressPane.h"

#include "app/Job.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace {

// The bar counts in units of this many bytes, so that any size fits an int.
constexpr long long kUnit = 1 << 16;
// The bar moves at most this often, but for a read that starts or ends.
constexpr qint64 kUpdateMs = 100;

QString Megabytes(long long bytes) {
    return QString::number((bytes + 500'000) / 1'000'000);
}

} // namespace

CLoadProgressPane::CLoadProgressPane(QWidget* parent)
    : QWidget(parent), m_pName(new QLabel(this)), m_pBar(new QProgressBar(this)),
      m_pCancel(new QPushButton(QStringLiteral("Cancel"), this)), m_pMenu(new QMenu(this)) {
    m_pCancel->setToolTip(QStringLiteral("Stop reading (Esc stops the read started last)"));
    connect(m_pCancel, &QPushButton::clicked, this, [this] {
        if (m_reads.size() == 1)
            m_reads.front().cancel();
    });
    connect(m_pMenu, &QMenu::aboutToShow, this, &CLoadProgressPane::FillMenu);
    m_pName->setTextFormat(Qt::PlainText);
    m_pName->setMaximumWidth(300);
    m_pBar->setFixedWidth(220);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(m_pName);
    layout->addWidget(m_pBar);
    layout->addWidget(m_pCancel);
    hide();
}

void CLoadProgressPane::AddRead(const CJob& job, const QString& fileName, long long size,
                                std::function<void()> cancel) {
    m_reads.push_back(Read{&job, fileName, std::max(size, 0LL), std::move(cancel)});
    connect(&job, &CJob::ProgressMoved, this, &CLoadProgressPane::Update);
    Update();
    show();
}

void CLoadProgressPane::RemoveRead(const CJob& job) {
    disconnect(&job, nullptr, this, nullptr);
    std::erase_if(m_reads, [&](const Read& read) { return read.job == &job; });
    if (m_reads.empty())
        hide();
    else
        Update();
}

void CLoadProgressPane::Update() {
    if (m_reads.empty())
        return;
    // A bar that moves ten times a second looks as live as one that moves
    // with every few megabytes, and costs the interface thread far less.
    if (m_clock.isValid() && m_clock.elapsed() < kUpdateMs && m_shownReads == m_reads.size())
        return;
    m_clock.start();
    m_shownReads = m_reads.size();
    // Rows a second thread read again on its own may count twice.
    long long read = 0;
    long long size = 0;
    for (const Read& each : m_reads) {
        read += std::min(each.job->Progress().BytesRead(), each.size);
        size += each.size;
    }
    const QString newest = m_reads.back().name;
    const QString name =
        m_reads.size() == 1
            ? QStringLiteral("Reading %1").arg(newest)
            : QStringLiteral("Reading %1 and %2 more").arg(newest).arg(m_reads.size() - 1);
    // Only what changed: a new text lays the status bar out again.
    if (m_pName->text() != name)
        m_pName->setText(name);
    const int units = static_cast<int>(std::max(1LL, size / kUnit));
    if (m_pBar->maximum() != units)
        m_pBar->setRange(0, units);
    m_pBar->setValue(static_cast<int>(std::min<long long>(read / kUnit, units)));
    m_pBar->setFormat(QStringLiteral("%1 of %2 MB").arg(Megabytes(read), Megabytes(size)));
    QMenu* menu = m_reads.size() > 1 ? m_pMenu : nullptr;
    if (m_pCancel->menu() != menu)
        m_pCancel->setMenu(menu);
}

void CLoadProgressPane::FillMenu() {
    m_pMenu->clear();
    for (auto read = m_reads.rbegin(); read != m_reads.rend(); ++read)
        m_pMenu->addAction(QStringLiteral("Cancel %1").arg(read->name), this,
                           [cancel = read->cancel] { cancel(); });
    m_pMenu->addSeparator();
    m_pMenu->addAction(QStringLiteral("Cancel All"), this, [this] {
        // Each cancel may end its read at once and change the list.
        std::vector<std::function<void()>> cancels;
        for (const Read& read : m_reads)
            cancels.push_back(read.cancel);
        for (const auto& cancel : cancels)
            cancel();
    });
}

QString CLoadProgressPane::Text() const {
    return isVisible() || !m_reads.empty() ? m_pName->text() + u' ' + m_pBar->text() : QString();
}
