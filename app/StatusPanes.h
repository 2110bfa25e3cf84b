// The panes of the main window's status bar: pane 0, which stretches and
// shows prompts and readouts, then the CAP, NUM and SCRL indicators.
#pragma once

#include <QString>

class QLabel;
class QStatusBar;

class CStatusPanes {
public:
    // The idle text of pane 0: a single blank.
    static inline const QString kIdleText = QStringLiteral(" ");

    explicit CStatusPanes(QStatusBar& statusBar);

    // Pane 0 shows at most this many characters of a text: no screen is
    // wider, and laying out a readout of 100,000 curves would take seconds.
    static constexpr int kMaxShownCharacters = 1000;

    // Sets pane 0 and repaints it at once; an empty text shows the idle text,
    // a longer one its start and "...".
    void SetPaneText(const QString& text);
    QString PaneText() const;
    // Shows each indicator's text while its lock is on.
    void UpdateIndicators();

private:
    QLabel* m_pPane0;
    QLabel* m_pCaps;
    QLabel* m_pNum;
    QLabel* m_pScroll;
};
