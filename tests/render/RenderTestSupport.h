// A diagram loaded from a data file written in the test, painted into a
// recording context.
#pragma once

#include "TestSupport.h"
#include "diagram/CDiagram.h"
#include "render/RecordingContext.h"

#include <string>
#include <vector>

struct TestDiagram {
    // The window's client area; a 400-pixel-high plot needs 530 pixels.
    explicit TestDiagram(Rect client = Rect{0, 0, 800, 500});

    // Writes content to a data file and loads it; fails the test when the
    // load fails.
    void Load(const std::string& content);
    // Paints into a fresh recording context and returns its operations.
    std::vector<DrawOp> Paint();
    // Paints and returns the trace.
    std::string Trace();

    RecordingHost host;
    TempDir dir;
    CDiagram diagram{&host};
};

// The operations of one kind, in order.
template <class Op> std::vector<Op> OpsOf(const std::vector<DrawOp>& ops) {
    std::vector<Op> found;
    for (const DrawOp& op : ops)
        if (const Op* match = std::get_if<Op>(&op))
            found.push_back(*match);
    return found;
}

// The lines drawn with pens of one colour.
std::vector<LineOp> LinesOfColor(const std::vector<DrawOp>& ops, COLORREF color);
// The texts drawn with one font.
std::vector<std::string> TextsInFont(const std::vector<DrawOp>& ops, const FontSpec& font);
