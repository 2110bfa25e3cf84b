#include "app/CMainFrame.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CDocTemplate.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CommandTable.h"
#include "app/GuardedCall.h"
#include "app/HelpWindow.h"
#include "app/MeasurementsPanel.h"
#include "app/RecentFileList.h"
#include "app/StatusPanes.h"
#include "diagram/CDiagram.h"
#include "dialogs/CAboutDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QWhatsThis>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

constexpr int kSeparator = 0;

struct MenuLayout {
    const char* title;
    std::vector<int> items; // command ids; kSeparator; ID_FILE_MRU_FILE1 for the recent files
    bool listsWindows = false;
};

// Menu 128: no document window is active.
const std::vector<MenuLayout> kMenusNoDocument{
    {"&File",
     {ID_FILE_OPEN, kSeparator, ID_FILE_PRINT_SETUP, kSeparator, ID_FILE_MRU_FILE1, kSeparator,
      ID_FILE_CLOSE, ID_APP_EXIT}},
    {"&View", {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_MEASUREMENTS}},
    {"&Help", {ID_HELP_FINDER, kSeparator, ID_APP_ABOUT}},
};

// Menu 129: a document window is active.
const std::vector<MenuLayout> kMenusDocument{
    {"&File",
     {ID_FILE_OPEN, ID_FILE_CLOSE, kSeparator, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
      ID_FILE_PRINT_SETUP, kSeparator, ID_FILE_MRU_FILE1, kSeparator, ID_APP_EXIT}},
    {"&Edit", {ID_EDIT_COPY}},
    {"&View",
     {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, kSeparator, ID_SHOW_PARAMETERS, ID_SHOW_SPECTRUM,
      ID_SHOW_XY_BY_MOUSE, ID_MAKE_INTERPOLATION, ID_MAKE_CORRELATION, kSeparator, ID_SET_MARKER_B,
      ID_REMOVE_MARKERS, ID_VIEW_MEASUREMENTS}},
    {"&Window", {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE}, true},
    {"&Help", {ID_HELP_FINDER, kSeparator, ID_APP_ABOUT}},
};

// The commands that act on the active view: enabled only while there is one.
constexpr CommandId kViewCommands[] = {
    ID_FILE_PRINT,    ID_FILE_PRINT_PREVIEW, ID_EDIT_COPY,          ID_SHOW_PARAMETERS,
    ID_SHOW_SPECTRUM, ID_SHOW_XY_BY_MOUSE,   ID_MAKE_INTERPOLATION, ID_MAKE_CORRELATION,
    ID_FILE_CLOSE,    ID_SET_MARKER_B,       ID_REMOVE_MARKERS};

constexpr CommandId kCheckable[] = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_SHOW_SPECTRUM,
                                    ID_SHOW_XY_BY_MOUSE, ID_VIEW_MEASUREMENTS};

// Whether the Measurements panel is shown, remembered for the user.
const QString kMeasurementsShown = QStringLiteral("Measurements/shown");

// The numbered text of a recent-file or window entry, as the platform writes it:
// "&1 " to "&9 ", "1&0 ", then plain numbers.
QString NumberedText(int number, const QString& text) {
    QString label = QString::number(number);
    if (number < 10)
        label.prepend(u'&');
    else if (number == 10)
        label = QStringLiteral("1&0");
    return label + u' ' + QString(text).replace(u'&', QStringLiteral("&&"));
}

} // namespace

CMainFrame::CMainFrame(CDocManager& docManager)
    : m_docManager(docManager), m_pMdiArea(new QMdiArea(this)), m_wndToolBar(nullptr),
      m_wndStatusBar(new QStatusBar(this)),
      m_pStatusPanes(std::make_unique<CStatusPanes>(*m_wndStatusBar)) {
    setCentralWidget(m_pMdiArea);
    setStatusBar(m_wndStatusBar);
    setAcceptDrops(true);
    resize(1000, 700);
    CreateActions();
    CreateAccelerators();
    CreateToolBar();
    CreateMenus();
    CreateMeasurementsPanel();
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateCommandUi);
    connect(m_wndToolBar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommandUi);
    // The lock keys' lights are read when a key goes down or up or the focus
    // moves, whichever window has it.
    qApp->installEventFilter(this);
    UpdateCommandUi();
}

// The child windows go first, while the frame they report to is still whole;
// the area must not call the frame back while it is being taken down.
CMainFrame::~CMainFrame() {
    disconnect(m_pMdiArea, nullptr, this, nullptr);
    delete std::exchange(m_pMdiArea, nullptr);
}

void CMainFrame::CreateActions() {
    const auto viewCommand = [this](void (CKelvaroView::*command)()) {
        return [this, command] {
            if (CKelvaroView* view = ActiveView())
                (view->*command)();
        };
    };
    const std::map<CommandId, std::function<void()>> handlers{
        {ID_FILE_NEW, [this] { m_docManager.OnFileNew(); }},
        {ID_FILE_OPEN, [this] { OnFileOpen(); }},
        {ID_FILE_CLOSE,
         [this] {
             if (QMdiSubWindow* frame = m_pMdiArea->currentSubWindow())
                 frame->close();
         }},
        {ID_FILE_PRINT_SETUP, [this] { QPageSetupDialog(&m_printer, this).exec(); }},
        {ID_FILE_PRINT, viewCommand(&CKelvaroView::OnFilePrint)},
        {ID_FILE_PRINT_PREVIEW, viewCommand(&CKelvaroView::OnFilePrintPreview)},
        {ID_EDIT_COPY, viewCommand(&CKelvaroView::OnEditCopy)},
        {ID_WINDOW_ARRANGE, [this] { ArrangeIcons(); }},
        {ID_WINDOW_CASCADE, [this] { m_pMdiArea->cascadeSubWindows(); }},
        {ID_WINDOW_TILE_HORZ, [this] { m_pMdiArea->tileSubWindows(); }},
        {ID_APP_ABOUT, [this] { CAboutDlg(this).exec(); }},
        {ID_APP_EXIT, [this] { close(); }},
        {ID_HELP_FINDER, [this] { ShowHelp(); }},
        {ID_HELP, [this] { ShowHelp(); }},
        {ID_CONTEXT_HELP,
         [this] {
             QWhatsThis::enterWhatsThisMode();
             SetPaneText(QStringLiteral("Select an object on which to get Help"));
         }},
        {ID_VIEW_TOOLBAR, [this] { m_wndToolBar->setVisible(!m_wndToolBar->isVisible()); }},
        {ID_VIEW_STATUS_BAR, [this] { m_wndStatusBar->setVisible(!m_wndStatusBar->isVisible()); }},
        {ID_SHOW_PARAMETERS, viewCommand(&CKelvaroView::OnShowParameters)},
        {ID_SHOW_SPECTRUM, viewCommand(&CKelvaroView::OnShowSpectrum)},
        {ID_SHOW_XY_BY_MOUSE, viewCommand(&CKelvaroView::OnShowXYByMouse)},
        {ID_MAKE_INTERPOLATION, viewCommand(&CKelvaroView::OnMakeInterpolation)},
        {ID_MAKE_CORRELATION, viewCommand(&CKelvaroView::OnMakeCorrelation)},
        {ID_SET_MARKER_B, viewCommand(&CKelvaroView::OnSetMarkerB)},
        {ID_REMOVE_MARKERS, viewCommand(&CKelvaroView::OnRemoveMarkers)},
        {ID_VIEW_MEASUREMENTS,
         [this] {
             const bool shown = !m_pMeasurements->isVisible();
             m_pMeasurements->setVisible(shown);
             QSettings().setValue(kMeasurementsShown, shown);
         }},
    };

    for (const CommandInfo& info : CommandTable()) {
        const auto handler = handlers.find(info.id);
        const bool shown = info.menuText || info.image;
        if (info.id == ID_FILE_MRU_FILE1 || (handler == handlers.end() && !shown))
            continue;
        auto* action = new QAction(this);
        if (info.menuText)
            action->setText(QString::fromUtf8(info.menuText));
        if (info.prompt) {
            action->setStatusTip(QString::fromUtf8(info.prompt));
            action->setWhatsThis(QString::fromUtf8(info.prompt));
        }
        if (info.tip)
            action->setToolTip(QString::fromUtf8(info.tip));
        if (info.image)
            action->setIcon(QIcon(QString::fromUtf8(info.image)));
        if (std::ranges::find(kCheckable, info.id) != std::end(kCheckable))
            action->setCheckable(true);
        if (handler == handlers.end()) {
            // Shown, but nothing handles it yet: disabled, as the platform does.
            action->setEnabled(false);
            m_unhandled.insert(info.id);
        } else {
            connect(action, &QAction::triggered, this, [this, run = handler->second] {
                RunGuarded(this, run);
                UpdateCommandUi();
            });
        }
        m_actions.emplace(info.id, action);
    }
}

void CMainFrame::CreateAccelerators() {
    // Keys of commands nobody handles (Save, Cut, Paste, Undo, the pane keys)
    // are taken here too, so they do nothing rather than reach a window.
    for (const CommandInfo& info : CommandTable()) {
        if (!info.keys)
            continue;
        for (const QString& key : QString::fromUtf8(info.keys).split(QStringLiteral("; "))) {
            auto* accelerator = new QAction(this);
            accelerator->setShortcut(QKeySequence(key));
            connect(accelerator, &QAction::triggered, this,
                    [this, id = info.id] { RunCommand(id); });
            addAction(accelerator);
        }
    }
    // The desktop's usual key for leaving a program, beside the table's own.
    auto* quit = new QAction(this);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, [this] { RunCommand(ID_APP_EXIT); });
    addAction(quit);
}

void CMainFrame::CreateToolBar() {
    m_wndToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_wndToolBar->setObjectName(QStringLiteral("Toolbar"));
    m_wndToolBar->setIconSize(QSize(16, 15));
    for (CommandId id : ToolbarLayout()) {
        if (id == kSeparator)
            m_wndToolBar->addSeparator();
        else
            m_wndToolBar->addAction(Action(id));
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
}

void CMainFrame::CreateMenus() {
    const auto build = [this](const std::vector<MenuLayout>& layouts, std::vector<QMenu*>& menus) {
        for (const MenuLayout& layout : layouts) {
            auto* menu = new QMenu(QString::fromUtf8(layout.title), this);
            const auto fill = [this, menu, &layout] {
                FillMenu(*menu, layout.items);
                if (layout.listsWindows)
                    FillWindowMenu(*menu);
            };
            fill();
            connect(menu, &QMenu::aboutToShow, this, fill);
            connect(menu, &QMenu::aboutToHide, this, [this] { SetPaneText(QString()); });
            menus.push_back(menu);
        }
    };
    build(kMenusNoDocument, m_menusNoDocument);
    build(kMenusDocument, m_menusDocument);
    m_bDocumentMenus = true; // so that the first update shows menu 128
    ShowMenusOfState();
}

void CMainFrame::FillMenu(QMenu& menu, const std::vector<int>& layout) {
    menu.clear();
    for (int item : layout) {
        if (item == kSeparator) {
            menu.addSeparator();
        } else if (item == ID_FILE_MRU_FILE1) {
            const QStringList& recent = m_docManager.RecentFiles().Entries();
            if (recent.isEmpty())
                menu.addAction(QString::fromUtf8(CommandEntry(ID_FILE_MRU_FILE1).menuText))
                    ->setEnabled(false);
            for (int i = 0; i < recent.size(); ++i) {
                QAction* entry =
                    menu.addAction(NumberedText(i + 1, CRecentFileList::ShownPath(recent[i])));
                entry->setStatusTip(QString::fromUtf8(CommandEntry(ID_FILE_MRU_FILE1).prompt));
                connect(entry, &QAction::triggered, this,
                        [this, path = recent[i]] { OpenFile(path); });
            }
        } else {
            menu.addAction(Action(CommandId(item)));
        }
    }
}

void CMainFrame::FillWindowMenu(QMenu& menu) {
    const std::vector<CChildFrame*> frames = ChildFrames();
    if (frames.empty())
        return;
    menu.addSeparator();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        CChildFrame* frame = frames[i];
        QAction* entry = menu.addAction(NumberedText(int(i) + 1, frame->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(frame == m_pMdiArea->currentSubWindow());
        connect(entry, &QAction::triggered, this, [this, frame] { ActivateChildFrame(frame); });
    }
}

void CMainFrame::CreateMeasurementsPanel() {
    m_pMeasurements = new CMeasurementsPanel(this);
    m_pMeasurements->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    addDockWidget(Qt::BottomDockWidgetArea, m_pMeasurements);
    m_pMeasurements->setVisible(QSettings().value(kMeasurementsShown, false).toBool());
    // Closed by its own button: the check mark and the setting follow.
    // The panel is still shown while it is being closed.
    connect(m_pMeasurements, &CMeasurementsPanel::Closed, this, [this] {
        QSettings().setValue(kMeasurementsShown, false);
        Action(ID_VIEW_MEASUREMENTS)->setChecked(false);
    });
}

void CMainFrame::ShowMenusOfState() {
    const bool document = ActiveView() != nullptr;
    if (document == m_bDocumentMenus)
        return;
    m_bDocumentMenus = document;
    menuBar()->clear();
    for (QMenu* menu : document ? m_menusDocument : m_menusNoDocument)
        menuBar()->addMenu(menu);
}

QAction* CMainFrame::Action(CommandId id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::RunCommand(CommandId id) {
    UpdateCommandUi();
    if (QAction* action = Action(id); action && action->isEnabled())
        action->trigger();
}

void CMainFrame::SetPaneText(const QString& text, const QObject* writer) {
    m_pPaneWriter = writer;
    m_pStatusPanes->SetPaneText(text);
}

void CMainFrame::PaneWriterClosed(const QObject* writer) {
    if (writer && writer == m_pPaneWriter)
        SetPaneText(QString());
}

QString CMainFrame::PaneText() const {
    return m_pStatusPanes->PaneText();
}

std::vector<CChildFrame*> CMainFrame::ChildFrames() const {
    std::vector<CChildFrame*> frames;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(window))
            frames.push_back(frame);
    return frames;
}

CKelvaroView* CMainFrame::ActiveView() const {
    auto* frame = qobject_cast<CChildFrame*>(m_pMdiArea->currentSubWindow());
    return frame ? frame->View() : nullptr;
}

void CMainFrame::ActivateChildFrame(CChildFrame* frame) {
    if (frame->isMinimized())
        frame->showNormal();
    m_pMdiArea->setActiveSubWindow(frame);
    frame->raise();
    UpdateCommandUi();
}

QSize CMainFrame::DefaultChildClientSize() const {
    const QSize area = m_pMdiArea->viewport()->size() * 3 / 4;
    return area.expandedTo(QSize(480, 300));
}

QPoint CMainFrame::CascadePosition(const QMdiSubWindow* frame) const {
    // Each new window one title bar lower and to the right of the one before,
    // starting again at the top left where it would leave the area.
    const int step = frame->height() - frame->widget()->height();
    const QSize room = m_pMdiArea->viewport()->size() - frame->size();
    const int others = static_cast<int>(m_pMdiArea->subWindowList().size()) - 1;
    const int fits = step > 0 ? std::max(1, std::min(room.width(), room.height()) / step + 1) : 1;
    const int n = others % fits;
    return QPoint(n * step, n * step);
}

void CMainFrame::AddChildFrame(CChildFrame* frame) {
    const QSize client = frame->widget()->size();
    m_pMdiArea->addSubWindow(frame);
    frame->show();
    // Keep the client size the first paint was laid out for.
    frame->resize(frame->size() - frame->widget()->size() + client);
    frame->move(CascadePosition(frame));
    ActivateChildFrame(frame);
    frame->widget()->setFocus();
}

void CMainFrame::UpdateCommandUi() {
    CKelvaroView* view = ActiveView();
    for (CommandId id : kViewCommands)
        if (QAction* action = Action(id); action && !m_unhandled.contains(id))
            action->setEnabled(view != nullptr);
    Action(ID_VIEW_TOOLBAR)->setChecked(m_wndToolBar->isVisible());
    Action(ID_VIEW_STATUS_BAR)->setChecked(m_wndStatusBar->isVisible());
    Action(ID_SHOW_SPECTRUM)->setChecked(view && view->Diagram().showSpectrum);
    Action(ID_SHOW_XY_BY_MOUSE)->setChecked(view && view->Diagram().showXYByMouse);
    Action(ID_VIEW_MEASUREMENTS)->setChecked(m_pMeasurements->isVisible());
    m_pMeasurements->Follow(view);
    ShowMenusOfState();
    const QString title =
        view ? QStringLiteral("Kelvaro - ") + view->Document().Title() : QStringLiteral("Kelvaro");
    if (windowTitle() != title)
        setWindowTitle(title);
    m_pStatusPanes->UpdateIndicators();
}

bool CMainFrame::event(QEvent* event) {
    // Prompts of highlighted menu items and toolbar buttons go to pane 0.
    if (event->type() == QEvent::StatusTip) {
        SetPaneText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    // The help-mode prompt goes when the mode ends, however it ends.
    if (event->type() == QEvent::LeaveWhatsThisMode)
        SetPaneText(QString());
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && CancelOpenOnEscape(watched, *event))
        return true;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::ApplicationActivate:
        m_pStatusPanes->UpdateIndicators();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Escape in the main window, with no box or menu open, stops the read
// started last.
bool CMainFrame::CancelOpenOnEscape(QObject* watched, const QEvent& event) {
    CDocTemplate& opens = m_docManager.Template();
    if (static_cast<const QKeyEvent&>(event).key() != Qt::Key_Escape || opens.OpensRunning() == 0 ||
        QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
        return false;
    opens.CancelNewestOpen();
    return true;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::ranges::any_of(urls, [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            OpenFile(url.toLocalFile());
    event->acceptProposedAction();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Nothing is ever modified, so nothing asks to be saved.
    if (m_pHelpWindow)
        m_pHelpWindow->close();
    event->accept();
}

void CMainFrame::OnFileOpen() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open"), QString(),
        QStringLiteral("Data files (*.txt *.csv *.tsv *.dat);;All files (*)"));
    if (!path.isEmpty())
        OpenFile(path);
}

void CMainFrame::OpenFile(const QString& path) {
    RunGuarded(this, [&] { m_docManager.OpenDocumentFile(path); });
}

void CMainFrame::BringToFront() {
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void CMainFrame::ShowHelp() {
    if (!m_pHelpWindow)
        m_pHelpWindow = new CHelpWindow(this);
    m_pHelpWindow->ShowPage(QStringLiteral("index.html"));
}

void CMainFrame::ArrangeIcons() {
    // Minimized windows in a row along the bottom of the area.
    int x = 0;
    const int bottom = m_pMdiArea->viewport()->height();
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList()) {
        if (!window->isMinimized())
            continue;
        window->move(x, bottom - window->height());
        x += window->width();
    }
}
