#include "app/LoadProgressPane.h"

#include "diagram/LoadProgress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace {

// The bar counts in units of this many bytes, so that any size fits an int.
constexpr long long kUnit = 1 << 16;
constexpr int kUpdateMs = 100;

QString Megabytes(long long bytes) {
    return QString::number((bytes + 500'000) / 1'000'000);
}

} // namespace

CLoadProgressPane::CLoadProgressPane(const QString& fileName, long long size,
                                     const LoadProgress& progress, std::function<void()> onCancel,
                                     QWidget* parent)
    : QWidget(parent), m_progress(progress), m_size(std::max(size, 0LL)),
      m_pName(new QLabel(QStringLiteral("Reading %1").arg(fileName), this)),
      m_pBar(new QProgressBar(this)) {
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setToolTip(QStringLiteral("Stop reading this file (Esc)"));
    connect(cancel, &QPushButton::clicked, this, [onCancel = std::move(onCancel)] { onCancel(); });
    m_pName->setTextFormat(Qt::PlainText);
    m_pName->setMaximumWidth(300);
    m_pBar->setRange(0, static_cast<int>(std::max(1LL, m_size / kUnit)));
    m_pBar->setFixedWidth(220);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(m_pName);
    layout->addWidget(m_pBar);
    layout->addWidget(cancel);
    connect(&m_timer, &QTimer::timeout, this, &CLoadProgressPane::Update);
    m_timer.start(kUpdateMs);
    Update();
}

void CLoadProgressPane::Update() {
    // Rows a second thread read again on its own may count twice.
    const long long read = std::min(m_progress.BytesRead(), m_size);
    m_pBar->setValue(static_cast<int>(std::min<long long>(read / kUnit, m_pBar->maximum())));
    m_pBar->setFormat(QStringLiteral("%1 of %2 MB").arg(Megabytes(read), Megabytes(m_size)));
}
