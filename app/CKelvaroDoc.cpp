#include "app/CKelvaroDoc.h"

#include "diagram/CDiagram.h"
#include "diagram/FileBytes.h"
#include "diagram/FileStamp.h"
#include "render/DrawContext.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <optional>

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

bool CKelvaroDoc::OnOpenDocument(const QString& path) {
    const std::string bytes = QFile::encodeName(path).toStdString();
    if (const std::optional<std::string> reason = WhyNotReadable(bytes)) {
        m_pDiagram->ShowWarning("Cannot open the file \"" + bytes + "\": " + *reason + ".");
        return false;
    }
    if (!m_pDiagram->LoadFile(bytes))
        return false;
    m_pDiagram->Paint(*m_pViewDC);
    m_strPathName = path;
    SetTitle(QFileInfo(path).fileName());
    return true;
}

void CKelvaroDoc::SetTitle(const QString& title) {
    m_strTitle = title;
    emit TitleChanged(title);
}
