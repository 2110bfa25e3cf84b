// The viewer under test: one application for the whole test program, on the
// offscreen platform with its settings in a temporary folder, and a closer
// for the modal boxes a test makes appear.
#pragma once

#include "app/CKelvaroApp.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

class CKelvaroDoc;
class CMainFrame;
class QTimer;

// Readable QString values in failure messages.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QStringList& texts, std::ostream* out);

CKelvaroApp& App();
CMainFrame& MainFrame();
// The main() of a test program of the viewer: one application made with the
// command-line arguments given (after the program's name), on the offscreen
// platform with its settings in a temporary folder; then every test.
int RunWithViewer(int argc, char** argv, const std::vector<std::string>& arguments);
// Closes every child window, lets Qt delete them and makes the main window
// the active one (its accelerators work only then).
void ResetMainWindow();

// Waits until every read of the viewer (opens, zoom windows, live refreshes)
// and every spectrum computed after an open is over and its result is shown;
// false when that takes over ten seconds.
bool WaitForReads();
// Opens path as File > Open does and waits for the read: the document of the
// window it made or brought to the front, null when none shows path.
CKelvaroDoc* OpenAndWait(const QString& path);
CKelvaroDoc* OpenAndWait(const std::string& path);

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
    // Runs for each box while it is still open, before it is closed.
    std::function<void()> onBox;
    const QStringList& Titles() const { return m_titles; }

private:
    void CloseModal();

    QTimer* m_pTimer;
    QStringList m_texts;
    QStringList m_titles;
};
