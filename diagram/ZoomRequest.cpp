#include "diagram/ZoomRequest.h"

bool g_bZoomOpen = false;
double g_zoomXFrom = 0.0;
double g_zoomXTo = 0.0;
double g_zoomYFrom = 0.0;
double g_zoomYTo = 0.0;
std::string g_strZoomTitle;

ZoomOpenScope::ZoomOpenScope(double xFrom, double xTo, double yFrom, double yTo) {
    g_zoomXFrom = xFrom;
    g_zoomXTo = xTo;
    g_zoomYFrom = yFrom;
    g_zoomYTo = yTo;
    g_strZoomTitle.clear();
    g_bZoomOpen = true;
}

ZoomOpenScope::~ZoomOpenScope() {
    g_bZoomOpen = false;
}

ZoomRequest CurrentZoomRequest() {
    return ZoomRequest{g_zoomXFrom, g_zoomXTo, g_zoomYFrom, g_zoomYTo, g_strZoomTitle};
}
