// The MDI child window that holds one view; closing it destroys the view, its
// diagram and the document with it, and never asks to save.
#pragma once

#include <QMdiSubWindow>

class CKelvaroView;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CChildFrame(QWidget* parent = nullptr);

    CKelvaroView* View() const;
};
