#include "app/StatusPanes.h"

#include "app/KeyboardLocks.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

namespace {

QLabel* AddIndicator(QStatusBar& statusBar, const QString& text) {
    auto* label = new QLabel(&statusBar);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 12);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar.addPermanentWidget(label);
    return label;
}

void ShowIndicator(QLabel& label, bool on, const QString& text) {
    const QString shown = on ? text : QString();
    if (label.text() != shown)
        label.setText(shown);
}

} // namespace

CStatusPanes::CStatusPanes(QStatusBar& statusBar)
    : m_pPane0(new QLabel(kIdleText, &statusBar)),
      m_pCaps(AddIndicator(statusBar, QStringLiteral("CAP"))),
      m_pNum(AddIndicator(statusBar, QStringLiteral("NUM"))),
      m_pScroll(AddIndicator(statusBar, QStringLiteral("SCRL"))) {
    m_pPane0->setTextFormat(Qt::PlainText);
    // Long readouts are cut at the pane's edge rather than widen the window.
    m_pPane0->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar.insertWidget(0, m_pPane0, 1);
    // Where the lights cannot be read, three panes that never light up say
    // nothing: they are left out.
    if (!KeyboardLocksReadable())
        for (QLabel* indicator : {m_pCaps, m_pNum, m_pScroll})
            indicator->hide();
    UpdateIndicators();
}

void CStatusPanes::SetPaneText(const QString& text) {
    if (text.isEmpty()) {
        m_pPane0->setText(kIdleText);
    } else if (text.size() <= kMaxShownCharacters) {
        m_pPane0->setText(text);
    } else {
        // Never half of a character of two UTF-16 units.
        const qsizetype cut =
            kMaxShownCharacters - (text[kMaxShownCharacters - 1].isHighSurrogate() ? 1 : 0);
        m_pPane0->setText(text.left(cut) + QStringLiteral("..."));
    }
    m_pPane0->repaint();
}

QString CStatusPanes::PaneText() const {
    return m_pPane0->text();
}

void CStatusPanes::UpdateIndicators() {
    const KeyboardLocks locks = ReadKeyboardLocks();
    ShowIndicator(*m_pCaps, locks.caps, QStringLiteral("CAP"));
    ShowIndicator(*m_pNum, locks.num, QStringLiteral("NUM"));
    ShowIndicator(*m_pScroll, locks.scroll, QStringLiteral("SCRL"));
}
