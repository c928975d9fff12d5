// The view state and the conversions between geographic coordinates, backdrop pixels and
// map-window pixels.
#include "map/Geometry.h"

#include <cmath>
#include <cstdio>

#include "model/Project.h"

double zoomFactor = 1.0;
double fitZoom = 0.0;
int scrollPercentX = 50, scrollPercentY = 50;
int mapOriginX, mapOriginY;
int viewWidth, viewHeight;
int pointerX, pointerY;
int32_t pointerLat, pointerLon;

namespace {

constexpr double ZoomInStep = 1.1;
constexpr double ZoomOutStep = 0.9;
constexpr double ScrollDivisor = 100.0;

// Zooming in stops before the picture's larger side would pass 2^26 pixels. That keeps the
// picture size, the map origin (at most the picture size) and every window coordinate derived
// from them far inside 32 bits, and inside the 2^27 logical units that GDI accepts on every
// Windows version, so the stretch and the drawing of discs and lines stay exact.
constexpr double MaxPictureSide = 67108864.0;

bool HasBackdrop() { return backdropWidth > 0 && backdropHeight > 0; }

double LargerSide() {
    return backdropWidth > backdropHeight ? static_cast<double>(backdropWidth)
                                          : static_cast<double>(backdropHeight);
}

// A zero zoom never arises (FitZoom and the zoom steps keep it positive), but a division by it
// must not be reachable either.
double SafeZoom() { return zoomFactor > 0.0 ? zoomFactor : 1.0; }

}  // namespace

void FitZoom() {
    if (!HasBackdrop()) return;
    int roomX = viewWidth - ViewHorizontalAllowance;
    int roomY = viewHeight - ViewVerticalAllowance;
    if (roomX <= 0 || roomY <= 0) return;  // window minimised or not laid out yet
    double sx = roomX / static_cast<double>(backdropWidth);
    double sy = roomY / static_cast<double>(backdropHeight);
    zoomFactor = sx <= sy ? sx : sy;
    fitZoom = zoomFactor;
}

void UpdateMapOrigin() {
    // The overflow of the scaled picture over the room; the percentage places the picture
    // along it (a negative overflow slides a small picture inside the room).
    double overflowX = backdropWidth * zoomFactor - viewWidth + double{ViewHorizontalAllowance};
    double overflowY = backdropHeight * zoomFactor - viewHeight + double{ViewVerticalAllowance};
    mapOriginX = TruncToInt32(-(overflowX / ScrollDivisor) * scrollPercentX);
    mapOriginY = TruncToInt32(-(overflowY / ScrollDivisor) * scrollPercentY);
}

void ComputePointerPosition() {
    pointerLat = WindowToLat(pointerY);
    pointerLon = WindowToLon(pointerX);
    std::snprintf(statusText[0], StatusTextSize, " Lat: %9.5f Lon: %10.5f",
                  pointerLat / UnitsPerDegree, pointerLon / UnitsPerDegree);
}

RectangleExtent RectangleSize(int32_t north, int32_t south, int32_t west, int32_t east) {
    double n = north / UnitsPerDegree;
    double s = south / UnitsPerDegree;
    double w = west / UnitsPerDegree;
    double e = east / UnitsPerDegree;
    double midLat = (n - s) / 2.0 + s;
    double angle = DegreesToRadians(midLat);
    RectangleExtent extent;
    extent.horizontal = std::cos(angle) * (e - w) * KmPerDegreeLon;
    extent.vertical = (n - s) * KmPerDegreeLat;
    extent.area = extent.horizontal * extent.vertical;
    return extent;
}

// Window offsets are taken in 64 bits so that a pointer far from a far-scrolled origin cannot
// overflow before it enters the double expression.
int WindowToColumn(int x) {
    return TruncToInt32((static_cast<int64_t>(x) - mapOriginX) / SafeZoom());
}

int WindowToRow(int y) {
    return TruncToInt32((static_cast<int64_t>(y) - mapOriginY) / SafeZoom());
}

int ColumnToWindowX(int column) { return TruncToInt32(column * zoomFactor + mapOriginX); }

int RowToWindowY(int row) { return TruncToInt32(row * zoomFactor + mapOriginY); }

bool GeoToWindow(int32_t lat, int32_t lon, int& x, int& y) {
    if (latPerPixel == 0.0 || lonPerPixel == 0.0) return false;
    x = TruncToInt32((static_cast<int64_t>(lon) - areaLeft) / lonPerPixel * zoomFactor +
                     mapOriginX);
    y = TruncToInt32((static_cast<int64_t>(areaTop) - lat) / latPerPixel * zoomFactor +
                     mapOriginY);
    return true;
}

int32_t WindowToLat(int y) {
    return TruncToInt32(areaTop -
                        (static_cast<int64_t>(y) - mapOriginY) * latPerPixel / SafeZoom());
}

int32_t WindowToLon(int x) {
    return TruncToInt32(areaLeft +
                        (static_cast<int64_t>(x) - mapOriginX) * lonPerPixel / SafeZoom());
}

int32_t RowToLat(int row) { return TruncToInt32(areaTop - row * latPerPixel); }

int32_t ColumnToLon(int column) { return TruncToInt32(areaLeft + column * lonPerPixel); }

double RadiusToWindow(int32_t radius) {
    if (latPerPixel == 0.0) return 0.0;
    return radius / latPerPixel * zoomFactor;
}

int PictureWidth() { return TruncToInt32(backdropWidth * zoomFactor); }

int PictureHeight() { return TruncToInt32(backdropHeight * zoomFactor); }

bool ZoomIn() {
    if (!HasBackdrop()) return false;
    double next = zoomFactor * ZoomInStep;
    if (LargerSide() * next > MaxPictureSide) return false;
    zoomFactor = next;
    return false;
}

bool ZoomOut() {
    if (!HasBackdrop()) return false;
    if (zoomFactor == fitZoom) return false;
    double next = zoomFactor * ZoomOutStep;
    if (next < fitZoom) {
        zoomFactor = fitZoom;
        return true;
    }
    // Without a fitted zoom (a window too small to fit into) keep at least one pixel of picture.
    if (LargerSide() * next < 1.0) return false;
    zoomFactor = next;
    return false;
}

bool ZoomOneToOne() {
    zoomFactor = 1.0;
    return true;
}

bool FitAndCentre() {
    if (!HasBackdrop()) return false;
    scrollPercentX = 50;
    scrollPercentY = 50;
    FitZoom();
    return true;
}

namespace {

// The percentage that puts the picture's origin nearest to origin, within 0 to 100; the one kept
// when the picture has no overflow to move along.
int PercentFor(double origin, double overflow, int kept) {
    if (overflow == 0.0) return kept;
    double percent = std::floor(-origin * ScrollDivisor / overflow + 0.5);
    return percent < 0.0 ? 0 : percent > 100.0 ? 100 : static_cast<int>(percent);
}

}  // namespace

void PlacePointAt(double column, double row, int x, int y) {
    double overflowX = backdropWidth * zoomFactor - viewWidth + double{ViewHorizontalAllowance};
    double overflowY = backdropHeight * zoomFactor - viewHeight + double{ViewVerticalAllowance};
    scrollPercentX = PercentFor(x - column * zoomFactor, overflowX, scrollPercentX);
    scrollPercentY = PercentFor(y - row * zoomFactor, overflowY, scrollPercentY);
    UpdateMapOrigin();
}

bool CanScrollHorizontally() { return viewWidth < backdropWidth * zoomFactor; }

bool CanScrollVertically() { return viewHeight < backdropHeight * zoomFactor; }

void ResetView() {
    zoomFactor = 1.0;
    fitZoom = 0.0;
    scrollPercentX = 50;
    scrollPercentY = 50;
    mapOriginX = 0;
    mapOriginY = 0;
    pointerX = 0;
    pointerY = 0;
    pointerLat = 0;
    pointerLon = 0;
    for (auto& text : statusText) text[0] = '\0';
    // viewWidth and viewHeight follow the main window's client size and are left to it.
}
