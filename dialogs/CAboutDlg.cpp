#include "dialogs/CAboutDlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace {

// Dialog units of the box's layout (a font of 8 points at 96 dpi) to pixels.
QRect Units(int x, int y, int width, int height) {
    const auto px = [](int units) { return units * 3 / 2; };
    const auto py = [](int units) { return units * 13 / 8; };
    return QRect(px(x), py(y), px(width), py(height));
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Kelvaro"));
    setFixedSize(Units(0, 0, 235, 126).size());

    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    icon->setGeometry(Units(11, 17, 21, 20));

    auto* name = new QLabel(QStringLiteral("Kelvaro 1.5"), this);
    name->setGeometry(Units(40, 10, 119, 8).adjusted(0, -2, 0, 2));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(Units(178, 7, 50, 16));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
