#include "app/CChildFrame.h"

#include "app/CKelvaroView.h"

CChildFrame::CChildFrame(QWidget* parent) : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
}

CKelvaroView* CChildFrame::View() const {
    return qobject_cast<CKelvaroView*>(widget());
}
