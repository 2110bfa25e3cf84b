// The one piece of process-wide state: filled by a view's rubber-band zoom just
// before it opens the same file again, read by that nested load (which keeps
// only the X range) and by its first paint (which composes the new title).
#pragma once

#include <string>

extern bool g_bZoomOpen;
extern double g_zoomXFrom;
extern double g_zoomXTo;
extern double g_zoomYFrom;
extern double g_zoomYTo;
extern std::string g_strZoomTitle;

// The request as a value: a view that opens the zoom window away from the
// interface thread hands it to the read and to the window's first paint,
// which writes the window's title into it.
struct ZoomRequest {
    double xFrom = 0.0;
    double xTo = 0.0;
    double yFrom = 0.0;
    double yTo = 0.0;
    std::string title;
};
// The request the globals hold now.
ZoomRequest CurrentZoomRequest();

// Sets the request for the duration of one nested open and clears the flag
// afterwards, also when the open fails with an error.
class ZoomOpenScope {
public:
    ZoomOpenScope(double xFrom, double xTo, double yFrom, double yTo);
    explicit ZoomOpenScope(const ZoomRequest& request)
        : ZoomOpenScope(request.xFrom, request.xTo, request.yFrom, request.yTo) {}
    ~ZoomOpenScope();
    ZoomOpenScope(const ZoomOpenScope&) = delete;
    ZoomOpenScope& operator=(const ZoomOpenScope&) = delete;
};
