#include "qtdraw/QtDrawContext.h"

#include "qtdraw/ImageRuns.h"
#include "qtdraw/PixelRuns.h"
#include "qtdraw/QtText.h"

#include <QPaintEngine>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

QColor ToQColor(COLORREF color) {
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

// One-pixel pens leave out the end point (flat caps); wider ones are round at
// both ends, as wide pens of the classic graphics interface are.
QPen ToQPen(const PenSpec& pen) {
    if (pen.width <= 1)
        return QPen(ToQColor(pen.color), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    return QPen(ToQColor(pen.color), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QFont MakeFont(const FontSpec& wanted) {
    // "Arial Cyr" is a Windows face; Liberation Sans has Arial's metrics.
    static std::once_flag substituted;
    std::call_once(substituted, [] {
        QFont::insertSubstitutions("Arial Cyr", {"Arial", "Liberation Sans"});
    });
    QFont font(QString::fromStdString(wanted.face));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(static_cast<QFont::Weight>(wanted.weight));
    font.setStyleStrategy(QFont::NoAntialias);
    // The cell height is ascent plus descent: the largest pixel size that fits.
    for (int size = std::max(wanted.height, 1);; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        if (size == 1 || metrics.ascent() + metrics.descent() <= wanted.height)
            return font;
    }
}

// The widest pen drawn at a pixel ratio other than 1, in device pixels.
constexpr int kMaxDeviceWidth = 256;

// The device pixels a painter's window covers: its window under the inverse
// of its world transform, so that a painter set to draw device pixels on a
// device of a higher pixel ratio gives those pixels.
QRect DeviceArea(const QPainter& painter) {
    return painter.worldTransform().inverted().mapRect(painter.window());
}

} // namespace

CQtDrawContext::CQtDrawContext(QPainter& painter, double pixelRatio)
    : painter(painter), ratio(pixelRatio),
      pixelExact(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster &&
                 painter.worldTransform().isIdentity()) {
    if (ratio == 1.0) {
        area = painter.window().adjusted(-1, -1, 1, 1);
        textArea = area;
    } else {
        // Runs just outside reach in once widened.
        const int reach = kMaxDeviceWidth;
        const QRect device = DeviceArea(painter);
        area = device.adjusted(-reach, -reach, reach, reach);
        textArea = QRectF(QPointF(device.topLeft()) / ratio, QSizeF(device.size()) / ratio)
                       .toAlignedRect()
                       .adjusted(-1, -1, 1, 1);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(ToQPen(pen));
}

CQtDrawContext::~CQtDrawContext() {
    Flush();
}

void CQtDrawContext::Flush() {
    lineQueued = false;
    if (pending.empty())
        return;
    if (ratio != 1.0) {
        FillRuns(DeviceWidth(), ToQColor(pen.color));
    } else if (pixelExact && pen.width <= 1) {
        // Runs of a one-pixel pen go straight into an image where that is exact.
        FillRuns(1, ToQColor(pen.color));
    } else {
        painter.setPen(ToQPen(pen));
        painter.drawLines(pending.data(), static_cast<int>(pending.size()));
    }
    pending.clear();
}

int CQtDrawContext::DeviceWidth() const {
    const long width = std::lround(std::max(pen.width, 1) * ratio);
    return static_cast<int>(std::clamp(width, 1L, static_cast<long>(kMaxDeviceWidth)));
}

void CQtDrawContext::FillRuns(int width, const QColor& color) {
    if (FillRunsInImage(painter, pending, color, width))
        return;
    if (ratio == 1.0) {
        painter.setPen(ToQPen(pen));
        painter.drawLines(pending.data(), static_cast<int>(pending.size()));
        return;
    }
    for (const QLine& run : pending)
        painter.fillRect(WidenedRun(run, width), color);
}

void CQtDrawContext::Rectangle(const Rect& rect) {
    Flush();
    const QRect r =
        QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)).normalized();
    if (r.isEmpty())
        return;
    painter.fillRect(r, Qt::white);
    if (ratio != 1.0) {
        // The outline: four bands as wide as the pen, inside the rectangle.
        const int width = std::min({DeviceWidth(), r.width(), r.height()});
        const QColor color = ToQColor(pen.color);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), width), color);
        painter.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), color);
        painter.fillRect(QRect(r.left(), r.top(), width, r.height()), color);
        painter.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), color);
        return;
    }
    painter.setPen(ToQPen(pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
}

void CQtDrawContext::MoveTo(int x, int y) {
    position = Packed(x, y);
}

void CQtDrawContext::AddLine(const QLine& line) {
    // A line of length 0 covers no pixel once its end is left out; a repeat
    // of the line just queued covers the same pixels again.
    if (line.p1() == line.p2() || (lineQueued && line == lastLine))
        return;
    lastLine = line;
    lineQueued = true;
    QueueWideLine(line);
}

void CQtDrawContext::LineTo(int x, int y) {
    const QPoint from = Unpacked(position);
    const LineSegment segment{Point{from.x(), from.y()}, Point{x, y}};
    Lines(std::span<const LineSegment>(&segment, 1));
}

void CQtDrawContext::Lines(std::span<const LineSegment> segments) {
    if (segments.empty())
        return;
    if (DrawsRuns()) {
        AppendPixelRuns(segments, area, pending);
    } else {
        for (const LineSegment& segment : segments)
            AddLine(QLine(segment.from.x, segment.from.y, segment.to.x, segment.to.y));
    }
    position = Packed(segments.back().to.x, segments.back().to.y);
}

Point CQtDrawContext::CurveBlock(const int* columns, const int* rows, std::size_t size,
                                 Point previous, int top, int bottom) {
    if (!DrawsRuns() || size == 0)
        return CDrawContext::CurveBlock(columns, rows, size, previous, top, bottom);
    if (const std::optional<Point> end =
            AppendCurveRuns(columns, rows, size, previous, top, bottom, area, pending))
        position = Packed(end->x, end->y);
    return Point{columns[size - 1], rows[size - 1]};
}

void CQtDrawContext::QueueWideLine(const QLine& line) {
    if (line.dx() == 0 && !pending.empty()) {
        QLine& last = pending.back();
        const int low = std::min(last.y1(), last.y2());
        const int high = std::max(last.y1(), last.y2());
        if (last.dx() == 0 && last.x1() == line.x1() && line.y1() >= low && line.y1() <= high) {
            last = QLine(line.x1(), std::min(low, line.y2()), line.x1(), std::max(high, line.y2()));
            return;
        }
    }
    pending.push_back(line);
}

void CQtDrawContext::TextOut(int x, int y, TextAlign align, std::string_view text) {
    Flush();
    const LoadedFont& loaded = CurrentFont();
    // A text whose line lies wholly below, above or (left-aligned) right of
    // the picture draws nothing there: the legend of thousands of columns
    // runs far below the window. A line's height is kept as a margin for
    // glyphs that reach beyond it.
    const int margin = loaded.metrics.height();
    if ((pixelExact || ratio != 1.0) &&
        (y - margin > textArea.bottom() || y + 2 * margin < textArea.top() ||
         (align == TextAlign::LeftTop && x - margin > textArea.right())))
        return;
    const QString qtext = TextFromBytes(text);
    const int left =
        align == TextAlign::CenterTop ? x - loaded.metrics.horizontalAdvance(qtext) / 2 : x;
    painter.setFont(loaded.font);
    painter.setPen(ToQColor(textColor));
    if (ratio == 1.0) {
        painter.drawText(QPoint(left, y + loaded.metrics.ascent()), qtext);
        return;
    }
    // Laid out in layout pixels, drawn at the device's resolution.
    const QTransform world = painter.worldTransform();
    painter.scale(ratio, ratio);
    painter.drawText(QPoint(left, y + loaded.metrics.ascent()), qtext);
    painter.setWorldTransform(world);
}

void CQtDrawContext::SetTextColor(COLORREF color) {
    textColor = color;
}

int CQtDrawContext::TextWidth(std::string_view text) {
    return CurrentFont().metrics.horizontalAdvance(TextFromBytes(text));
}

void CQtDrawContext::FillSolidRect(int x, int y, int width, int height, COLORREF color) {
    Flush();
    if (width > 0 && height > 0)
        painter.fillRect(QRect(x, y, width, height), ToQColor(color));
}

PenSpec CQtDrawContext::SelectPen(const PenSpec& newPen) {
    const PenSpec previous = pen;
    if (newPen != pen) {
        Flush();
        pen = newPen;
    }
    return previous;
}

FontSpec CQtDrawContext::SelectFont(const FontSpec& newFont) {
    const FontSpec previous = font;
    font = newFont;
    return previous;
}

const CQtDrawContext::LoadedFont& CQtDrawContext::CurrentFont() {
    for (const auto& [wanted, loaded] : fonts)
        if (wanted == font)
            return loaded;
    const QFont qfont = MakeFont(font);
    fonts.emplace_back(font, LoadedFont{qfont, QFontMetrics(qfont)});
    return fonts.back().second;
}
