// The help window: the help pages kept in the program's resources, with a
// contents link on every page and back and forward through the pages read.
#pragma once

#include <QWidget>

class QTextBrowser;

class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows the page (a file name under the help pages) and raises the window.
    void ShowPage(const QString& page);
    QString CurrentPage() const;

private:
    QTextBrowser* m_pBrowser;
};
