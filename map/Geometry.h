// The view: zoom, scroll, the map origin, and the conversions between geographic coordinates,
// backdrop pixels and map-window pixels.
#pragma once

#include <cstdint>

constexpr int ViewHorizontalAllowance = 19;
constexpr int ViewVerticalAllowance = 40;
constexpr double KmPerDegreeLon = 111.321;
constexpr double KmPerDegreeLat = 111.15;
constexpr double UnitsPerDegree = 100000.0;  // numeric coordinates count 1/100000 degree

// Degrees to radians as the kilometre measures take them: degrees x 2 pi / 360.
inline double DegreesToRadians(double degrees) { return degrees * 2 * 3.14159265358979 / 360; }

extern double zoomFactor;      // window pixels per backdrop pixel
extern double fitZoom;         // zoom at which the whole backdrop fits; lower bound of ZoomOut
// The scroll position along each axis places the picture along its overflow (the picture's
// size on screen less the room for it), in 1/2^21 of a percent: 0 puts its left (top) edge at the
// window's, ScrollPositionMax its right (bottom) edge at the room's. Whole percents are exact, and
// at the largest zoom one unit is still less than a pixel, so every part of the picture is
// reachable.
constexpr int ScrollUnitsPerPercent = 1 << 21;
constexpr int ScrollPositionMax = 100 * ScrollUnitsPerPercent;
constexpr int ScrollPositionCentre = 50 * ScrollUnitsPerPercent;
extern int scrollPositionX, scrollPositionY;
extern int mapOriginX, mapOriginY;
extern int viewWidth, viewHeight;  // main window's client size, status bar included
extern int pointerX, pointerY;
extern int32_t pointerLat, pointerLon;

void FitZoom();
void UpdateMapOrigin();

enum class ScrollAxis { Horizontal, Vertical };
int& ScrollPosition(ScrollAxis axis);
double ScrollOverflow(ScrollAxis axis);  // pixels; negative when the picture is smaller
int ScrollRoom(ScrollAxis axis);         // the view less its allowance
// The window coordinate of the picture's edge at a position along an overflow.
int ScrollOrigin(double overflow, int position);
// Position units of one step: percent of the overflow, but at most roomShare of the room, so
// that at high zoom no step jumps past what the window showed. At least one unit.
int ScrollStep(double overflow, int room, int percent, double roomShare);
// A line step is 1% of the overflow or a tenth of the room, a page step 5% or nine tenths.
int ScrollLineStep(ScrollAxis axis);
int ScrollPageStep(ScrollAxis axis);
// Moves the position by units, kept within 0..ScrollPositionMax.
void ScrollBy(ScrollAxis axis, int64_t units);
// Sets pointerLat and pointerLon from pointerX and pointerY and writes status part 0. The window
// side then sends the texts to the status bar.
void ComputePointerPosition();

struct RectangleExtent {
    double horizontal;  // km
    double vertical;    // km
    double area;        // sq.km
};
RectangleExtent RectangleSize(int32_t north, int32_t south, int32_t west, int32_t east);

// Conversions; each truncates toward zero once, on the whole expression.
int WindowToColumn(int x);
int WindowToRow(int y);
int ColumnToWindowX(int column);
int RowToWindowY(int row);
// False when the area has no per-pixel factors yet (no backdrop): nothing can be placed.
bool GeoToWindow(int32_t lat, int32_t lon, int& x, int& y);
int32_t WindowToLat(int y);
int32_t WindowToLon(int x);
int32_t RowToLat(int row);
int32_t ColumnToLon(int column);
double RadiusToWindow(int32_t radius);  // 0 without per-pixel factors
int PictureWidth();   // trunc(backdropWidth * zoomFactor)
int PictureHeight();

// View operations of the keys. Each returns true when the following repaint erases.
bool ZoomIn();
bool ZoomOut();
bool ZoomOneToOne();
bool FitAndCentre();
// Sets the scroll positions so that the backdrop point (column, row), in backdrop pixels, lies
// at map pixel (x, y), as near as the scroll positions allow: what Ctrl and the wheel zoom about.
void PlacePointAt(double column, double row, int x, int y);
bool CanScrollHorizontally();  // viewWidth < backdropWidth * zoomFactor
bool CanScrollVertically();

// Start-of-run view state; for tests.
void ResetView();

// The sine and cosine of a wind direction in whole degrees (0 = map up, clockwise), taken at
// PiForWind x degrees / 180; the whole-degree ones come from a table made by the same expression.
constexpr double PiForWind = 3.1415926535;
void WindDirection(int32_t degrees, double& sine, double& cosine);
