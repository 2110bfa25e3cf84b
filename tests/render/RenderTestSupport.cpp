#include "RenderTestSupport.h"

#include <gtest/gtest.h>

TestDiagram::TestDiagram(Rect client) {
    host.client = client;
}

void TestDiagram::Load(const std::string& content) {
    const auto path = dir.Write("data.txt", content);
    ASSERT_TRUE(diagram.LoadFile(path.string()));
    ASSERT_TRUE(host.warnings.empty()) << host.warnings.front();
}

std::vector<DrawOp> TestDiagram::Paint() {
    CRecordingContext context(DiagramFontNames(diagram));
    diagram.Paint(context);
    return context.Ops();
}

std::string TestDiagram::Trace() {
    CRecordingContext context(DiagramFontNames(diagram));
    diagram.Paint(context);
    return context.Trace();
}

std::vector<LineOp> LinesOfColor(const std::vector<DrawOp>& ops, COLORREF color) {
    std::vector<LineOp> lines;
    for (const LineOp& line : OpsOf<LineOp>(ops))
        if (line.pen.color == color)
            lines.push_back(line);
    return lines;
}

std::vector<std::string> TextsInFont(const std::vector<DrawOp>& ops, const FontSpec& font) {
    std::vector<std::string> texts;
    for (const TextOp& text : OpsOf<TextOp>(ops))
        if (text.font == font)
            texts.push_back(text.text);
    return texts;
}
