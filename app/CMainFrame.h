// The main window: the MDI area of the child windows, the menus of the two
// states (no document / a document window active), toolbar, status bar and
// accelerators, and the routing of each command to its handler.
#pragma once

#include "app/CommandIds.h"

#include <QMainWindow>
#include <QPrinter>

#include <map>
#include <memory>
#include <set>
#include <vector>

class CChildFrame;
class CDocManager;
class CHelpWindow;
class CKelvaroView;
class CMeasurementsPanel;
class CStatusPanes;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CDocManager& docManager);
    ~CMainFrame() override;

    // The action of a command in the menus or on the toolbar; null for one
    // that only has accelerators.
    QAction* Action(CommandId id) const;
    // Runs a command as its menu item, button or accelerator would.
    void RunCommand(CommandId id);

    // Opens path as Open does: the file is read away from the interface
    // thread, with its progress in the status bar; a refused file ends in a
    // message.
    void OpenFile(const QString& path);
    // Shows the main window restored, raised and active: a later start of
    // the program handed it files, or asked for it.
    void BringToFront();

    // Status pane 0. A window that writes its readout there names itself as
    // the writer: when it closes, the pane goes back to idle.
    void SetPaneText(const QString& text, const QObject* writer = nullptr);
    QString PaneText() const;
    void PaneWriterClosed(const QObject* writer);

    // ---- Child windows ----
    std::vector<CChildFrame*> ChildFrames() const;
    CKelvaroView* ActiveView() const;
    void ActivateChildFrame(CChildFrame* frame);
    // Shows frame in the MDI area and makes it the active window.
    void AddChildFrame(CChildFrame* frame);
    // The client size a new child window is given.
    QSize DefaultChildClientSize() const;

    // The printer of Print, Print Preview and Print Setup.
    QPrinter& Printer() { return m_printer; }
    CHelpWindow* HelpWindow() const { return m_pHelpWindow; }
    CMeasurementsPanel& Measurements() const { return *m_pMeasurements; }

    // Brings the check marks, enabled states, menus, title and status
    // indicators up to date: after every command, when the active window
    // changes and when a window's own state changes.
    void UpdateCommandUi();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Where a new child window goes: cascaded below the ones already open.
    QPoint CascadePosition(const QMdiSubWindow* frame) const;
    void CreateActions();
    void CreateAccelerators();
    void CreateToolBar();
    void CreateMenus();
    void CreateMeasurementsPanel();
    void FillMenu(QMenu& menu, const std::vector<int>& layout);
    void FillWindowMenu(QMenu& menu);
    void ShowMenusOfState();
    void OnActiveFrameChanged();
    void OnFileOpen();
    void ShowHelp();
    void ArrangeIcons();
    bool CancelOpenOnEscape(QObject* watched, const QEvent& event);

    CDocManager& m_docManager;
    QMdiArea* m_pMdiArea;
    QToolBar* m_wndToolBar;
    QStatusBar* m_wndStatusBar;
    std::unique_ptr<CStatusPanes> m_pStatusPanes;
    std::map<CommandId, QAction*> m_actions;
    std::set<CommandId> m_unhandled;       // shown in a menu or on the toolbar, always disabled
    std::vector<QMenu*> m_menusNoDocument; // menu 128
    std::vector<QMenu*> m_menusDocument;   // menu 129
    bool m_bDocumentMenus = false;
    CHelpWindow* m_pHelpWindow = nullptr;
    CMeasurementsPanel* m_pMeasurements = nullptr;
    QPrinter m_printer;
    const QObject* m_pPaneWriter = nullptr; // never dereferenced
};
