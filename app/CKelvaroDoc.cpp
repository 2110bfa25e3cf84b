#include "app/CKelvaroDoc.h"

#include "diagram/CDiagram.h"
#include "render/DrawContext.h"

#include <QFile>
#include <QFileInfo>

bool CKelvaroDoc::OnOpenDocument(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        const QString reason =
            QFileInfo(path).isDir() ? QStringLiteral("it is a folder") : file.errorString();
        m_pDiagram->ShowWarning(
            QStringLiteral("Cannot open the file \"%1\": %2.").arg(path, reason).toStdString());
        return false;
    }
    file.close();

    if (!m_pDiagram->LoadFile(QFile::encodeName(path).toStdString()))
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
