// The status bar's sign of the files being read: the name of the read
// started last (and how many more run), one bar of the bytes all of them have
// read, and a Cancel button. With one read the button stops it; with several
// it offers each of them and all of them. One pane however many reads run,
// so reads side by side never widen the main window; hidden while none runs.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class CJob;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;

class CLoadProgressPane : public QWidget {
    Q_OBJECT
public:
    explicit CLoadProgressPane(QWidget* parent = nullptr);

    // Shows the read of fileName (size bytes) by job until RemoveRead;
    // cancel runs when the user asks to stop it.
    void AddRead(const CJob& job, const QString& fileName, long long size,
                 std::function<void()> cancel);
    void RemoveRead(const CJob& job);

    // What the pane says, for the tests: the label and the bar's text.
    QString Text() const;

private:
    struct Read {
        const CJob* job;
        QString name;
        long long size;
        std::function<void()> cancel;
    };
    void Update();
    void FillMenu();

    std::vector<Read> m_reads; // in the order they were started
    QElapsedTimer m_clock;     // since the bar last moved
    std::size_t m_shownReads = 0;
    QLabel* m_pName;
    QProgressBar* m_pBar;
    QPushButton* m_pCancel;
    QMenu* m_pMenu;
};
