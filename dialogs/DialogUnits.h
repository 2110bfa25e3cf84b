// The font and the unit of the program's dialogs: positions and sizes of a
// dialog's layout are in dialog units, a quarter of the font's average
// character width across and an eighth of its height down.
#pragma once

#include <QFont>
#include <QRect>

// The dialogs' font: 8 points, sans serif.
QFont DialogFont();

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    // Dialog units to pixels, rounded to the nearest pixel.
    int X(int units) const { return (units * charWidth + 2) / 4; }
    int Y(int units) const { return (units * charHeight + 4) / 8; }
    QRect Rect(int x, int y, int width, int height) const {
        return QRect(X(x), Y(y), X(width), Y(height));
    }

private:
    int charWidth = 1;
    int charHeight = 1;
};
