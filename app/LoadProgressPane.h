// The status bar's sign of a file being read: the file's name, a bar of the
// bytes read so far and a Cancel button. One per read; it goes when the read
// ends.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

class LoadProgress;
class QLabel;
class QProgressBar;

class CLoadProgressPane : public QWidget {
    Q_OBJECT
public:
    // Shows the progress of reading fileName, of size bytes; onCancel runs
    // when the button is pressed.
    CLoadProgressPane(const QString& fileName, long long size, const LoadProgress& progress,
                      std::function<void()> onCancel, QWidget* parent = nullptr);

private:
    void Update();

    const LoadProgress& m_progress;
    const long long m_size;
    QLabel* m_pName;
    QProgressBar* m_pBar;
    QTimer m_timer;
};
