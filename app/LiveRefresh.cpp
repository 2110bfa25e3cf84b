#include "app/LiveRefresh.h"

#include "diagram/CDiagram.h"
#include "diagram/TableRefresh.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

int CLiveRefresh::PeriodMs(const CDiagram& diagram) {
    return diagram.timerPeriod > 0 ? std::max(diagram.timerPeriod, kShortestPeriodMs) : 0;
}

bool CLiveRefresh::FileChanged(const CDiagram& diagram, TickResult& result) {
    if (!m_bStarted) {
        m_bStarted = true;
        m_seen = diagram.lastRead.stamp;
    }
    errno = 0;
    const std::optional<FileStamp> now = StampOf(diagram.filePath);
    if (now == m_seen)
        return false;
    m_seen = now;
    if (!now) {
        Fail(diagram, result, errno != 0 ? std::strerror(errno) : "it cannot be found");
        return false;
    }
    return true;
}

CLiveRefresh::TickResult CLiveRefresh::Apply(CDiagram& diagram, RefreshRead&& read) {
    TickResult result;
    RefreshOutcome outcome = ApplyRefresh(diagram, std::move(read));
    if (outcome.kind == RefreshOutcome::Kind::Failed) {
        Fail(diagram, result, outcome.failure);
        return result;
    }
    result.repaint = true;
    if (!m_failure.empty()) {
        m_failure.clear();
        result.status = std::string();
    }
    for (std::string& warning : outcome.warnings)
        if (m_shownWarnings.insert(warning).second)
            result.warnings.push_back(std::move(warning));
    return result;
}

void CLiveRefresh::Fail(const CDiagram& diagram, TickResult& result, const std::string& reason) {
    const std::string text = diagram.fileName + " could not be read again: " + reason;
    if (text != m_failure) {
        m_failure = text;
        result.status = text;
    }
}
