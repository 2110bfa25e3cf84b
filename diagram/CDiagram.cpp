#include "diagram/CDiagram.h"

CDiagram::CDiagram(IDiagramHost* owner) : view(owner) {
    CreateFonts();
    gridPen = PenSpec{1, RGB(200, 200, 250)};
    markerPen = PenSpec{1, RGB(255, 0, 255)};
    markerBPen = PenSpec{1, RGB(255, 128, 0)};
    for (COLORREF c : {RGB(0, 0, 0), RGB(0, 0, 255), RGB(255, 0, 0), RGB(150, 0, 150),
                       RGB(0, 150, 0), RGB(150, 150, 0), RGB(0, 150, 150), RGB(200, 0, 0)})
        palette.Add(c);
}

void CDiagram::CreateFonts() {
    titleFont = FontSpec{"Arial Cyr", 18, 700};
    labelFont = FontSpec{"Arial Cyr", 14, 400};
    axisNameFont = FontSpec{"Arial Cyr", 16, 400};
}

void CDiagram::ShowWarning(const std::string& text) {
    if (view)
        view->ShowWarning(text);
}

void CDiagram::ShowInformation(const std::string& text) {
    if (view)
        view->ShowInformation(text);
}

std::string CDiagram::DateText(double day) const {
    DateValue scratch = dateScratch;
    return ::DateText(scratch, day);
}
