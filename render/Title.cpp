// The title line above the plot.
#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "render/DrawContext.h"
#include "render/PaintLayout.h"
#include "render/PaintSteps.h"
#include "render/ShownText.h"

std::string TitleText(const CDiagram& diagram) {
    const std::string shown(ShownPart(diagram.title, TextAlign::CenterTop));
    if (diagram.showSpectrum)
        return FormatC("%s,     Freq. = X / %d", shown.c_str(), diagram.spectrumSize);
    return shown;
}

void DrawTitle(const CDiagram& diagram, const PaintLayout& layout, CDrawContext& dc) {
    if (diagram.title.empty())
        return;
    FontScope font(dc, diagram.titleFont);
    dc.SetTextColor(diagram.titleColor);
    const Rect& plot = layout.plotRect;
    dc.TextOut(plot.left + plot.Width() / 2, layout.frameRect.top + diagram.plotInset / 4,
               TextAlign::CenterTop, TitleText(diagram));
}
