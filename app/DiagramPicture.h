// Keeps the picture of a diagram without its marker line, so that moving the
// marker redraws only the line instead of every curve of a big table.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

class CDiagram;
class QPainter;

class CDiagramPicture {
public:
    // Forget the kept picture (anything but the marker changed).
    void Invalidate();
    // Draws the whole diagram for a view of the given size, whose device is
    // filled with background, exactly as one CDiagram::Paint into a
    // CQtDrawContext on that painter would: from the kept picture plus the
    // marker line when the picture is still valid for this size, else by
    // painting anew (and keeping the picture without the marker).
    void Draw(QPainter& painter, CDiagram& diagram, QSize size, const QColor& background);

private:
    // Paint without the marker line into an image of the device's pixels
    // filled with background, which Paint leaves where it draws nothing. An
    // opaque picture is copied onto the window rather than blended.
    static QImage PaintWithoutMarker(CDiagram& diagram, QSize size, qreal pixelRatio,
                                     const QColor& background);

    QImage picture; // null while invalid
    QColor pictureBackground;
};
