// A drawing context for `render --trace`: it performs every operation on its
// target and writes the operation's trace line at once, so a trace of any
// length is never held in memory.
#pragma once

#include "render/RecordingContext.h"

#include <ostream>

class CStreamingTraceContext final : public CDrawContext {
public:
    // Lines go to out in the recording context's trace format; text is
    // measured with the target's fonts.
    CStreamingTraceContext(FontNames fontNames, CDrawContext& target, std::ostream& out);

    // The target's: the trace shows the device pixels the target draws.
    double PixelRatio() const override { return target.PixelRatio(); }
    void Rectangle(const Rect& rect) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, TextAlign align, std::string_view text) override;
    void SetTextColor(COLORREF color) override;
    int TextWidth(std::string_view text) override { return target.TextWidth(text); }
    void FillSolidRect(int x, int y, int width, int height, COLORREF color) override;
    PenSpec SelectPen(const PenSpec& pen) override;
    FontSpec SelectFont(const FontSpec& font) override;

private:
    void Emit(const DrawOp& op);

    FontNames fontNames;
    CDrawContext& target;
    std::ostream& out;
    Point position;
    PenSpec pen{1, 0}; // as a fresh recording context
    FontSpec font;
    COLORREF textColor = 0;
};
