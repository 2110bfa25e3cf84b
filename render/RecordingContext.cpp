#include "render/RecordingContext.h"

#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "diagram/Utf8Text.h"

CRecordingContext::CRecordingContext(FontNames fontNames, CDrawContext* target)
    : fontNames(std::move(fontNames)), target(target) {}

void CRecordingContext::Rectangle(const Rect& rect) {
    ops.emplace_back(std::in_place_type<RectangleOp>, RectangleOp{rect});
    if (target)
        target->Rectangle(rect);
}

void CRecordingContext::MoveTo(int x, int y) {
    position = Point{x, y};
    if (target)
        target->MoveTo(x, y);
}

void CRecordingContext::LineTo(int x, int y) {
    ops.emplace_back(std::in_place_type<LineOp>, LineOp{position, Point{x, y}, pen});
    position = Point{x, y};
    if (target)
        target->LineTo(x, y);
}

void CRecordingContext::TextOut(int x, int y, TextAlign align, std::string_view text) {
    TextOp op{Point{x, y}, align, textColor, font, std::string(text)};
    ops.emplace_back(std::in_place_type<TextOp>, std::move(op));
    if (target)
        target->TextOut(x, y, align, text);
}

void CRecordingContext::SetTextColor(COLORREF color) {
    textColor = color;
    if (target)
        target->SetTextColor(color);
}

int CRecordingContext::TextWidth(std::string_view text) {
    if (target)
        return target->TextWidth(text);
    return CountCharacters(text) * (font.height / 2);
}

void CRecordingContext::FillSolidRect(int x, int y, int width, int height, COLORREF color) {
    ops.emplace_back(std::in_place_type<FillOp>, FillOp{x, y, width, height, color});
    if (target)
        target->FillSolidRect(x, y, width, height, color);
}

PenSpec CRecordingContext::SelectPen(const PenSpec& newPen) {
    const PenSpec previous = pen;
    pen = newPen;
    if (target)
        target->SelectPen(newPen);
    return previous;
}

FontSpec CRecordingContext::SelectFont(const FontSpec& newFont) {
    const FontSpec previous = font;
    font = newFont;
    if (target)
        target->SelectFont(newFont);
    return previous;
}

FontNames DiagramFontNames(const CDiagram& diagram) {
    return {
        {diagram.titleFont, "title"}, {diagram.labelFont, "label"}, {diagram.axisNameFont, "axis"}};
}

namespace {

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + '"';
}

struct TraceFormatter {
    const FontNames& fontNames;

    std::string operator()(const RectangleOp& op) const {
        return FormatC("rect %d %d %d %d", op.rect.left, op.rect.top, op.rect.right,
                       op.rect.bottom);
    }
    std::string operator()(const LineOp& op) const {
        return FormatC("line %d %d %d %d ", op.from.x, op.from.y, op.to.x, op.to.y) +
               ColorHex(op.pen.color) + FormatC(" %d", op.pen.width);
    }
    std::string operator()(const FillOp& op) const {
        return FormatC("fill %d %d %d %d ", op.x, op.y, op.width, op.height) + ColorHex(op.color);
    }
    std::string operator()(const TextOp& op) const {
        return FormatC("text %d %d %s ", op.at.x, op.at.y,
                       op.align == TextAlign::CenterTop ? "center" : "left") +
               ColorHex(op.color) + ' ' + FontName(op.font) + ' ' + Quoted(op.text);
    }

    std::string FontName(const FontSpec& font) const {
        for (const auto& [wanted, name] : fontNames)
            if (wanted == font)
                return name;
        return "font";
    }
};

} // namespace

std::string TraceLine(const DrawOp& op, const FontNames& fontNames) {
    return std::visit(TraceFormatter{fontNames}, op);
}

std::string CRecordingContext::Trace() const {
    std::string trace;
    for (const DrawOp& op : ops) {
        trace += TraceLine(op, fontNames);
        trace += '\n';
    }
    return trace;
}
