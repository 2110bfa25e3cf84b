// The viewer under test: one application for the whole test program, on the
// offscreen platform with its settings in a temporary folder, and a closer
// for the modal boxes a test makes appear.
#pragma once

#include "app/CKelvaroApp.h"

#include <QString>
#include <QStringList>

#include <ostream>

class CMainFrame;
class QTimer;

// Readable QString values in failure messages.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QStringList& texts, std::ostream* out);

CKelvaroApp& App();
CMainFrame& MainFrame();
// How many child windows the main window had right after start-up.
int ChildWindowsAfterStartUp();
// Closes every child window, lets Qt delete them and makes the main window
// the active one (its accelerators work only then).
void ResetMainWindow();

// While it lives, closes every modal box that appears by clicking its default
// (else its first) button, and records the box's title and text.
class ModalBoxCloser {
public:
    ModalBoxCloser();
    ~ModalBoxCloser();
    ModalBoxCloser(const ModalBoxCloser&) = delete;
    ModalBoxCloser& operator=(const ModalBoxCloser&) = delete;

    // Waits up to five seconds for count boxes in all; false if fewer came.
    bool WaitFor(int count = 1);
    const QStringList& Texts() const { return m_texts; }
    const QStringList& Titles() const { return m_titles; }

private:
    void CloseModal();

    QTimer* m_pTimer;
    QStringList m_texts;
    QStringList m_titles;
};
