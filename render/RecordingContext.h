// A drawing context that keeps every drawing operation in order, for tests and
// for `kelvaro-cli render --trace`. Given a target it also performs each
// operation there and measures text with the target's fonts, so the trace
// shows exactly what the target drew.
#pragma once

#include "render/DrawContext.h"

#include <string>
#include <utility>
#include <variant>
#include <vector>

struct RectangleOp {
    Rect rect;
    bool operator==(const RectangleOp&) const = default;
};

struct LineOp {
    Point from;
    Point to;
    PenSpec pen;
    bool operator==(const LineOp&) const = default;
};

struct FillOp {
    int x = 0, y = 0, width = 0, height = 0;
    COLORREF color = 0;
    bool operator==(const FillOp&) const = default;
};

struct TextOp {
    Point at;
    TextAlign align = TextAlign::LeftTop;
    COLORREF color = 0;
    FontSpec font;
    std::string text;
    bool operator==(const TextOp&) const = default;
};

using DrawOp = std::variant<RectangleOp, LineOp, FillOp, TextOp>;

// Names that the trace gives the fonts, e.g. {titleFont, "title"}.
using FontNames = std::vector<std::pair<FontSpec, std::string>>;

// The trace line of one operation, as Trace writes it, without its line end.
std::string TraceLine(const DrawOp& op, const FontNames& fontNames);

class CRecordingContext final : public CDrawContext {
public:
    explicit CRecordingContext(FontNames fontNames = {}, CDrawContext* target = nullptr);

    // The target's: the trace shows the device pixels the target draws.
    double PixelRatio() const override { return target ? target->PixelRatio() : 1.0; }

    void Rectangle(const Rect& rect) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, TextAlign align, std::string_view text) override;
    void SetTextColor(COLORREF color) override;
    // Without a target every character (UTF-8 sequence) advances half the
    // font's cell height: a simple metric that keeps traces independent of
    // installed fonts.
    int TextWidth(std::string_view text) override;
    void FillSolidRect(int x, int y, int width, int height, COLORREF color) override;
    PenSpec SelectPen(const PenSpec& pen) override;
    FontSpec SelectFont(const FontSpec& font) override;

    const std::vector<DrawOp>& Ops() const { return ops; }

    // One line per operation:
    //   rect L T R B
    //   line X1 Y1 X2 Y2 #RRGGBB WIDTH
    //   fill X Y W H #RRGGBB
    //   text X Y center|left #RRGGBB FONTNAME "TEXT"   (\" \\ \n \t escaped)
    std::string Trace() const;

private:
    FontNames fontNames;
    CDrawContext* target;
    std::vector<DrawOp> ops;
    Point position;
    PenSpec pen{1, 0}; // a fresh context draws with a black one-pixel pen
    FontSpec font;
    COLORREF textColor = 0;
};

class CDiagram;

// The trace names of a diagram's fonts: "title", "label" and "axis".
FontNames DiagramFontNames(const CDiagram& diagram);
