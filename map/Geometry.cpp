// The view state and the conversions between geographic coordinates, backdrop pixels and
// map-window pixels.
#include "map/Geometry.h"

#include <cmath>
#include <cstdio>

#include "model/Project.h"

double zoomFactor = 1.0;
double fitZoom = 0.0;
int scrollPositionX = ScrollPositionCentre, scrollPositionY = ScrollPositionCentre;
int mapOriginX, mapOriginY;
int viewWidth, viewHeight;
int pointerX, pointerY;
int32_t pointerLat, pointerLon;

namespace {

constexpr double ZoomInStep = 1.1;
constexpr double ZoomOutStep = 0.9;
constexpr double ScrollDivisor = 100.0;
constexpr double LineRoomShare = 0.1;
constexpr double PageRoomShare = 0.9;
constexpr int LinePercent = 1;
constexpr int PagePercent = 5;

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
    mapOriginX = ScrollOrigin(ScrollOverflow(ScrollAxis::Horizontal), scrollPositionX);
    mapOriginY = ScrollOrigin(ScrollOverflow(ScrollAxis::Vertical), scrollPositionY);
}

int& ScrollPosition(ScrollAxis axis) { return axis == ScrollAxis::Horizontal ? scrollPositionX : scrollPositionY; }

double ScrollOverflow(ScrollAxis axis) {
    // A negative overflow slides a small picture inside the room.
    if (axis == ScrollAxis::Horizontal)
        return backdropWidth * zoomFactor - viewWidth + double{ViewHorizontalAllowance};
    return backdropHeight * zoomFactor - viewHeight + double{ViewVerticalAllowance};
}

int ScrollRoom(ScrollAxis axis) {
    return axis == ScrollAxis::Horizontal ? viewWidth - ViewHorizontalAllowance : viewHeight - ViewVerticalAllowance;
}

int ScrollOrigin(double overflow, int position) {
    // The division by a power of two is exact: a whole percent gives the percent itself.
    return TruncToInt32(-(overflow / ScrollDivisor) * (position / double{ScrollUnitsPerPercent}));
}

int ScrollStep(double overflow, int room, int percent, double roomShare) {
    const double whole = double{ScrollUnitsPerPercent} * percent;
    const double pixelsPerUnit = std::fabs(overflow) / ScrollDivisor / ScrollUnitsPerPercent;
    if (room <= 0 || pixelsPerUnit <= 0.0) return static_cast<int>(whole);
    const double capped = roomShare * room / pixelsPerUnit;
    if (capped >= whole) return static_cast<int>(whole);
    return capped < 1.0 ? 1 : static_cast<int>(capped);
}

int ScrollLineStep(ScrollAxis axis) {
    return ScrollStep(ScrollOverflow(axis), ScrollRoom(axis), LinePercent, LineRoomShare);
}

int ScrollPageStep(ScrollAxis axis) {
    return ScrollStep(ScrollOverflow(axis), ScrollRoom(axis), PagePercent, PageRoomShare);
}

void ScrollBy(ScrollAxis axis, int64_t units) {
    int64_t position = ScrollPosition(axis) + units;
    if (position < 0) position = 0;
    if (position > ScrollPositionMax) position = ScrollPositionMax;
    ScrollPosition(axis) = static_cast<int>(position);
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
    scrollPositionX = ScrollPositionCentre;
    scrollPositionY = ScrollPositionCentre;
    FitZoom();
    return true;
}

namespace {

// The position that puts the picture's origin nearest to origin, within the range; the one kept
// when the picture has no overflow to move along.
int PositionFor(double origin, double overflow, int kept) {
    if (overflow == 0.0) return kept;
    const double position = std::floor(-origin * ScrollDivisor * ScrollUnitsPerPercent / overflow + 0.5);
    return position < 0.0 ? 0 : position > ScrollPositionMax ? ScrollPositionMax : static_cast<int>(position);
}

}  // namespace

void PlacePointAt(double column, double row, int x, int y) {
    scrollPositionX = PositionFor(x - column * zoomFactor, ScrollOverflow(ScrollAxis::Horizontal), scrollPositionX);
    scrollPositionY = PositionFor(y - row * zoomFactor, ScrollOverflow(ScrollAxis::Vertical), scrollPositionY);
    UpdateMapOrigin();
}

bool CanScrollHorizontally() { return viewWidth < backdropWidth * zoomFactor; }

bool CanScrollVertically() { return viewHeight < backdropHeight * zoomFactor; }

void ResetView() {
    zoomFactor = 1.0;
    fitZoom = 0.0;
    scrollPositionX = ScrollPositionCentre;
    scrollPositionY = ScrollPositionCentre;
    mapOriginX = 0;
    mapOriginY = 0;
    pointerX = 0;
    pointerY = 0;
    pointerLat = 0;
    pointerLon = 0;
    for (auto& text : statusText) text[0] = '\0';
    // viewWidth and viewHeight follow the main window's client size and are left to it.
}

namespace {

// A full table's paint takes a direction 32768 times.
struct WindDirections {
    double sine[360], cosine[360];
    WindDirections() {
        for (int degrees = 0; degrees < 360; ++degrees) {
            const double angle = PiForWind * degrees / 180.0;
            sine[degrees] = std::sin(angle);
            cosine[degrees] = std::cos(angle);
        }
    }
};

}  // namespace

void WindDirection(int32_t degrees, double& sine, double& cosine) {
    static const WindDirections directions;
    if (degrees >= 0 && degrees < 360) {
        sine = directions.sine[degrees];
        cosine = directions.cosine[degrees];
        return;
    }
    const double angle = PiForWind * degrees / 180.0;
    sine = std::sin(angle);
    cosine = std::cos(angle);
}
