#include "dialogs/DialogUnits.h"

#include <QFontMetrics>

QFont DialogFont() {
    QFont font(QStringLiteral("Microsoft Sans Serif"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average over the 52 letters, rounded, as the dialog-unit rule takes it.
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    charWidth = (letters / 26 + 1) / 2;
    charHeight = metrics.height();
}
