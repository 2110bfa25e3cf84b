// Paint and its first step, the frame.
#include "diagram/CDiagram.h"
#include "render/DrawContext.h"
#include "render/PaintSteps.h"

namespace {

// The context is borrowed for one paint only; forget it afterwards, also when
// an invalid-argument error ends the paint early.
class BorrowedContext {
public:
    BorrowedContext(CDiagram& diagram, CDrawContext& context) : diagram(diagram) {
        diagram.dc = &context;
    }
    ~BorrowedContext() { diagram.dc = nullptr; }
    BorrowedContext(const BorrowedContext&) = delete;
    BorrowedContext& operator=(const BorrowedContext&) = delete;

private:
    CDiagram& diagram;
};

} // namespace

void CDiagram::Paint(CDrawContext& context) {
    BorrowedContext borrowed(*this, context);
    DrawFrame();
    if (columnCount == 0) // nothing loaded: the frame alone
        return;
    DrawAxes();
    DrawCurves(*this, context);
    DrawMarker(context);
}

void CDiagram::DrawFrame() {
    if (!dc || !drawFrame)
        return;
    if (fitToWindow && view)
        frameRect = InflateRect(view->ClientRect(), -frameMargin, -frameMargin);
    dc->Rectangle(frameRect);
}
