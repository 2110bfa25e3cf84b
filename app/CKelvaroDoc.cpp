#include "app/CKelvaroDoc.h"

#include "diagram/CDiagram.h"
#include "diagram/FileBytes.h"
#include "diagram/FileStamp.h"
#include "render/DrawContext.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

namespace {

// Why path cannot be read, found without ever waiting on it: a folder, a
// FIFO, a socket or a device by what it is, any other file by the system's
// reason; nothing when it can be read.
std::optional<std::string> WhyNotReadable(const std::string& path) {
    const std::string kind = NonRegularKind(path);
    if (kind == "a folder")
        return "it is a folder";
    if (!kind.empty())
        return "it is not a regular file (" + kind + ")";
    errno = 0;
    if (FileDescriptor(path).Get() < 0)
        return std::strerror(errno);
    return std::nullopt;
}

} // namespace

bool CKelvaroDoc::ReadFile(const std::string& path, CDiagram& loading, const LoadLimits& limits) {
    if (const std::optional<std::string> reason = WhyNotReadable(path)) {
        loading.ShowWarning("Cannot open the file \"" + path + "\": " + *reason + ".");
        return false;
    }
    return loading.LoadFile(path, limits, CDiagram::LoadMode::OpenSpectrumLater);
}

void CKelvaroDoc::OnOpenDocument(const QString& path, LoadedTable&& table) {
    m_pDiagram->TakeTable(std::move(table));
    m_pDiagram->Paint(*m_pViewDC);
    m_strPathName = path;
    SetTitle(QFileInfo(path).fileName());
}

void CKelvaroDoc::SetTitle(const QString& title) {
    m_strTitle = title;
    emit TitleChanged(title);
}
