#include "dialogs/CAboutDlg.h"

#include "dialogs/DialogUnits.h"

#include "KelvaroVersion.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Kelvaro"));
    setFont(DialogFont());
    const DialogUnits du(font());
    setFixedSize(du.X(235), du.Y(126));

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    icon->setGeometry(QRect(du.X(11), du.Y(17), 32, 32));

    auto* name = new QLabel(QString::fromUtf8(kKelvaroNameAndVersion), this);
    name->setGeometry(du.Rect(40, 10, 119, 8).adjusted(0, -2, 0, 2));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(du.Rect(178, 7, 50, 16));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
