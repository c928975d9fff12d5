// The map's drawing: the backdrop, the thermal discs with their wind lines, the selection
// rectangle and the area frame, each on a device context handed in.
#include "map/MapWindow.h"

#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <algorithm>
#include <numeric>
#include <vector>

#include "map/Bitmap.h"
#include "map/DiscStamps.h"
#include "map/Geometry.h"
#include "map/MapPaint.h"
#include "map/Pyramid.h"
#include "map/Selection.h"
#include "map/ThermalGrid.h"
#include "map/ThermalMap.h"
#include "model/Project.h"
#include "shell/MainParts.h"
#include "thermals/Manual.h"

namespace {

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr int OutlinePenWidth = 3;
constexpr double MinDiscRadius = 5.0;
constexpr double WindLineFactor = 1.25;

// Disc fills; a thermal's fill is found by FillOf.
enum Fill { FillCyan, FillYellow, FillGreen, FillMagenta, FillBlue, FillRed, FillCount, NoFill = -1 };
constexpr COLORREF FillColours[FillCount] = {
    RGB(0, 255, 255), RGB(255, 255, 0), RGB(0, 255, 0), RGB(255, 0, 255), RGB(0, 0, 255), RGB(255, 0, 0),
};
static_assert(FillCount == 6, "ThermalPainter holds one brush per fill");

// The fill of a thermal's type and cloud; NoFill for a type outside 1..4, which keeps the fill of
// the thermal drawn before it.
int FillOf(const Thermal& t) {
    bool cloud = t.cloudOn != 0;
    switch (t.type) {
    case 1: return cloud ? FillYellow : FillCyan;
    case 2: return FillGreen;
    case 3: return FillMagenta;
    case 4: return cloud ? FillRed : FillBlue;
    default: return NoFill;
    }
}

// GDI takes logical coordinates up to 2^27 on every Windows version. Only a disc of tens of
// millions of pixels reaches these bounds; its box and wind line are held inside them.
constexpr int64_t GdiLimit = (int64_t{1} << 26);

int Clamped(int64_t v) {
    return static_cast<int>(v < -GdiLimit ? -GdiLimit : v > GdiLimit ? GdiLimit : v);
}

// The largest share (at most all) of the step d from x that stays inside the GDI bounds.
double ShareInside(double x, double d) {
    double limit = static_cast<double>(GdiLimit);
    double share = 1.0;
    if (x + d > limit && d > 0) share = (limit - x) / d;
    if (x + d < -limit && d < 0) share = (-limit - x) / d;
    return share > 0.0 ? share : 0.0;
}

// The shape of one thermal in window pixels: the ellipse box and, unless type 4, the wind line
// from the centre to its end.
struct DiscShape {
    int x, y;
    int64_t ri;
    bool wind;
    int endX, endY;
};

// The window position of a thermal's centre, floored: a picture moved by whole pixels then holds
// every disc where a paint from scratch puts it, on either side of the window's edges.
void FlooredPosition(const Thermal& t, int& x, int& y) {
    x = TruncToInt32(std::floor((static_cast<int64_t>(t.lon) - areaLeft) / lonPerPixel * zoomFactor + mapOriginX));
    y = TruncToInt32(std::floor((static_cast<int64_t>(areaTop) - t.lat) / latPerPixel * zoomFactor + mapOriginY));
}

// The disc's window radius, at least the smallest.
double DiscRadius(const Thermal& t) {
    double r = RadiusToWindow(t.radius);
    return r >= MinDiscRadius ? r : MinDiscRadius;  // also catches NaN
}

void ShapeOf(const Thermal& t, int x, int y, double r, DiscShape& s) {
    s.x = x;
    s.y = y;
    s.ri = TruncToInt32(r);
    s.wind = t.type != 4;
    s.endX = x;
    s.endY = y;
    if (!s.wind) return;
    // r already holds the zoom once; the wind line takes it a second time.
    double length = r * WindLineFactor * zoomFactor;
    double sine, cosine;
    WindDirection(t.windDir, sine, cosine);
    double dx = sine * length;
    double dy = -cosine * length;
    double ex = x + dx, ey = y + dy;
    double limit = static_cast<double>(GdiLimit);
    if (std::fabs(ex) > limit || std::fabs(ey) > limit) {
        double share = std::fmin(ShareInside(x, dx), ShareInside(y, dy));
        ex = x + dx * share;
        ey = y + dy * share;
    }
    s.endX = TruncToInt32(ex);
    s.endY = TruncToInt32(ey);
}

// Whether the segment meets the rectangle (Liang-Barsky).
bool SegmentMeets(double x0, double y0, double x1, double y1, double left, double top, double right,
                  double bottom) {
    double t0 = 0.0, t1 = 1.0;
    auto within = [&t0, &t1](double p, double q) {  // keeps the part where p * t <= q
        if (p == 0.0) return q >= 0.0;
        double t = q / p;
        if (p < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
        return true;
    };
    double dx = x1 - x0, dy = y1 - y0;
    return within(-dx, x0 - left) && within(dx, right - x0) && within(-dy, y0 - top) &&
           within(dy, bottom - y0);
}

// Whether any pixel of the thermal can fall inside clip. The 2-pixel wind pen and its round ends
// reach a pixel past the line, the outline lies inside the ellipse box; a margin covers both.
constexpr int64_t ClipMargin = 3;

bool DiscMeets(const DiscShape& s, const RECT& clip) {
    int64_t left = clip.left - ClipMargin, top = clip.top - ClipMargin;
    int64_t right = clip.right + ClipMargin, bottom = clip.bottom + ClipMargin;
    return s.x + s.ri >= left && s.x - s.ri <= right && s.y + s.ri >= top && s.y - s.ri <= bottom;
}

bool Meets(const DiscShape& s, const RECT& clip) {
    int64_t left = clip.left - ClipMargin, top = clip.top - ClipMargin;
    int64_t right = clip.right + ClipMargin, bottom = clip.bottom + ClipMargin;
    if (DiscMeets(s, clip)) return true;
    return s.wind && SegmentMeets(s.x, s.y, s.endX, s.endY, static_cast<double>(left),
                                  static_cast<double>(top), static_cast<double>(right),
                                  static_cast<double>(bottom));
}

// Wine's Ellipse works along the whole outline, so a disc of a million pixels takes it seconds or
// breaks it; a disc larger than this is drawn as its part inside the clip, row by row.
constexpr int64_t LargestEllipse = 1 << 14;

void DrawLargeDisc(HDC dc, int x, int y, int64_t r, const RECT& clip) {
    const int64_t left = clip.left - 2, right = clip.right + 2, top = clip.top - 2, bottom = clip.bottom + 2;
    const double r2 = static_cast<double>(r) * static_cast<double>(r);
    std::vector<POINT> west, east;
    const int64_t first = std::max<int64_t>(top, int64_t{y} - r), last = std::min<int64_t>(bottom, int64_t{y} + r);
    for (int64_t row = first; row <= last; ++row) {
        const double dy = static_cast<double>(row - y);
        const double half = std::sqrt(std::max(0.0, r2 - dy * dy));
        const int64_t xl = std::max<int64_t>(left, static_cast<int64_t>(std::ceil(x - half)));
        const int64_t xr = std::min<int64_t>(right, static_cast<int64_t>(std::floor(x + half)));
        if (xl > xr) continue;
        west.push_back({static_cast<LONG>(xl), static_cast<LONG>(row)});
        east.push_back({static_cast<LONG>(xr), static_cast<LONG>(row)});
    }
    if (west.empty()) return;
    west.insert(west.end(), east.rbegin(), east.rend());
    Polygon(dc, west.data(), static_cast<int>(west.size()));
}

// The part of the segment inside the rectangle (Liang-Barsky), as shares t0 <= t1 of the way
// from its start; false when none of it is inside.
bool CutSegment(double x0, double y0, double x1, double y1, double left, double top, double right, double bottom,
                double& t0, double& t1) {
    t0 = 0.0;
    t1 = 1.0;
    double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) return false;
            continue;
        }
        double t = q[k] / p[k];
        if (p[k] < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    return t0 <= t1;
}

int Rounded(double v) { return static_cast<int>(std::floor(v + 0.5)); }

constexpr int64_t CutMargin = 256;
constexpr int64_t CutGrid = 8192;

int64_t DownToGrid(int64_t v) { return v >= 0 ? v / CutGrid * CutGrid : -((-v + CutGrid - 1) / CutGrid) * CutGrid; }

}  // namespace

RECT WindCutBounds() {
    RECT client{};
    if (mapWindow != nullptr) GetClientRect(mapWindow, &client);
    const int64_t left = DownToGrid(client.left - CutMargin - mapOriginX);
    const int64_t top = DownToGrid(client.top - CutMargin - mapOriginY);
    const int64_t right = -DownToGrid(mapOriginX - client.right - CutMargin);
    const int64_t bottom = -DownToGrid(mapOriginY - client.bottom - CutMargin);
    return RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom)};
}

int ThermalPainter::Count() const { return thermalCount < 0 ? 0 : thermalCount > MaxThermals ? MaxThermals : thermalCount; }

ThermalPainter::ThermalPainter(HDC dc, int first) : dc(dc) {
    usable = latPerPixel != 0.0 && lonPerPixel != 0.0 && GetClipBox(dc, &clip) != NULLREGION;
    cutTo = WindCutBounds();
    OffsetRect(&cutTo, mapOriginX, mapOriginY);
    if (usable) {
        toWindowX = zoomFactor / lonPerPixel;
        toWindowY = zoomFactor / latPerPixel;
        windReach = std::fmax(1.0, WindLineFactor * std::fabs(zoomFactor));
    }
    if (first < 0) first = 0;
    for (int i = first - 1; i >= 0 && fill == NoFill; --i) fill = FillOf(thermals[i]);
    outline = CreatePen(PS_SOLID, 1, Black);
    oldPen = SelectObject(dc, outline);
    oldBrush = GetCurrentObject(dc, OBJ_BRUSH);
    stamped = usable && PixelTargetOf(dc, pixels);
    gdiPending = stamped;  // what was drawn before, the backdrop say
}

void ThermalPainter::FinishGdi() {
    if (gdiPending) GdiFlush();
    gdiPending = false;
}

ThermalPainter::~ThermalPainter() {
    if (placed) MoveToEx(dc, position.x, position.y, nullptr);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(outline);
    if (windPen != nullptr) DeleteObject(windPen);
    for (HBRUSH brush : brushes)
        if (brush != nullptr) DeleteObject(brush);
}

// The terms of Draw's first estimate, for the grid to pick by.
GridView ThermalPainter::View() const {
    return GridView{static_cast<double>(areaLeft), static_cast<double>(areaTop), toWindowX, toWindowY,
                    static_cast<double>(mapOriginX), static_cast<double>(mapOriginY), MinDiscRadius, windReach,
                    ClipMargin + 4.0};
}

void ThermalPainter::Draw(int i, RECT* touched) {
    if (i < 0 || i >= Count()) return;  // the table may grow while a batch is drawn
    // A thermal being dragged is drawn where the pointer has it, not where the table keeps it.
    const Thermal& t = thermalMove.active && thermalMove.index == i ? thermalMove.shown : thermals[i];
    int own = FillOf(t);
    if (own != NoFill) fill = own;
    if (!usable) return;
    // Far from the clip, neither the disc nor its wind line (at most its length from the centre)
    // can reach it: skipped on a position and radius found by multiplications, which stay within
    // a pixel of the exact ones; the margin covers that and the pens' reach. View() hands these
    // terms to the grid.
    const double nearX = (static_cast<double>(t.lon) - areaLeft) * toWindowX + mapOriginX;
    const double nearY = (static_cast<double>(areaTop) - t.lat) * toWindowY + mapOriginY;
    const double nearR = std::fmax(t.radius * toWindowY, MinDiscRadius);
    const double reach = (t.type != 4 ? nearR * windReach : nearR) + ClipMargin + 4;
    if (nearX + reach < clip.left || nearX - reach > clip.right || nearY + reach < clip.top || nearY - reach > clip.bottom)
        return;
    int x, y;
    FlooredPosition(t, x, y);
    const double r = DiscRadius(t);
    DiscShape s;
    ShapeOf(t, x, y, r, s);
    if (!Meets(s, clip)) return;

    // Only the wind line may reach the window; a disc wholly outside it draws nothing there.
    if (DiscMeets(s, clip)) {
        bool copied = false;
        if (stamped && fill != NoFill && s.ri <= LargestStampedRadius) {
            FinishGdi();
            copied = CopyDiscStamp(pixels, x, y, static_cast<int>(s.ri), FillColours[fill]);
        }
        if (!copied) {
            SelectObject(dc, outline);
            if (fill != selectedFill && fill != NoFill) {
                if (brushes[fill] == nullptr) brushes[fill] = CreateSolidBrush(FillColours[fill]);
                SelectObject(dc, brushes[fill]);
                selectedFill = fill;
            }
            if (s.ri > LargestEllipse)
                DrawLargeDisc(dc, x, y, s.ri, clip);
            else
                Ellipse(dc, Clamped(int64_t{x} - s.ri), Clamped(int64_t{y} - s.ri), Clamped(int64_t{x} + s.ri),
                        Clamped(int64_t{y} + s.ri));
            gdiPending = stamped;
        }
    }
    int64_t boxLeft = int64_t{x} - s.ri, boxTop = int64_t{y} - s.ri;
    int64_t boxRight = int64_t{x} + s.ri, boxBottom = int64_t{y} + s.ri;
    if (s.wind) {
        // Cut first, so that a line crossing the window costs only about its visible part. The
        // cut ends lie well outside the window: the rounding of an end turns the line by far less
        // than a pixel where it shows, and a line that stays near the window is drawn whole.
        double t0, t1;
        if (CutSegment(x, y, s.endX, s.endY, cutTo.left, cutTo.top, cutTo.right, cutTo.bottom, t0, t1)) {
            const double dx = static_cast<double>(s.endX) - x, dy = static_cast<double>(s.endY) - y;
            int ax = t0 > 0.0 ? Rounded(x + dx * t0) : x, ay = t0 > 0.0 ? Rounded(y + dy * t0) : y;
            int bx = t1 < 1.0 ? Rounded(x + dx * t1) : s.endX, by = t1 < 1.0 ? Rounded(y + dy * t1) : s.endY;
            bool copied = false;
            if (stamped && std::abs(bx - ax) <= LongestStampedLine && std::abs(by - ay) <= LongestStampedLine) {
                FinishGdi();
                copied = CopyLineStamp(pixels, ax, ay, bx - ax, by - ay);
            }
            if (copied) {
                placed = true;
                position = POINT{bx, by};
            } else {
                if (windPen == nullptr) windPen = CreatePen(PS_SOLID, 2, Black);
                SelectObject(dc, windPen);
                MoveToEx(dc, ax, ay, nullptr);
                LineTo(dc, bx, by);
                placed = false;
                gdiPending = stamped;
            }
            boxLeft = std::min<int64_t>(boxLeft, std::min(ax, bx));
            boxRight = std::max<int64_t>(boxRight, std::max(ax, bx));
            boxTop = std::min<int64_t>(boxTop, std::min(ay, by));
            boxBottom = std::max<int64_t>(boxBottom, std::max(ay, by));
        }
    } else if (stamped) {
        placed = true;
        position = POINT{Clamped(x), Clamped(y)};
    } else {
        MoveToEx(dc, Clamped(x), Clamped(y), nullptr);
    }
    if (touched != nullptr) {
        // Held inside the clip, widened by the pens' reach.
        LONG l = static_cast<LONG>(std::max<int64_t>(clip.left, boxLeft - ClipMargin));
        LONG tp = static_cast<LONG>(std::max<int64_t>(clip.top, boxTop - ClipMargin));
        LONG r = static_cast<LONG>(std::min<int64_t>(clip.right, boxRight + ClipMargin));
        LONG b = static_cast<LONG>(std::min<int64_t>(clip.bottom, boxBottom + ClipMargin));
        if (l < r && tp < b) {
            RECT part{l, tp, r, b};
            if (IsRectEmpty(touched)) *touched = part;
            else UnionRect(touched, touched, &part);
        }
    }
}

namespace {

// The table filed by position for its current state (counted changes and count).
struct FiledTable {
    bool valid = false;
    uint32_t changes = 0;
    int count = 0;
    ThermalGrid grid;
};

FiledTable filed;

// The grid for the table as the painter draws it; none while a thermal is dragged, since the
// painter then draws that one elsewhere.
const ThermalGrid* CurrentGrid(const ThermalPainter& painter) {
    if (thermalMove.active) return nullptr;
    if (!filed.valid || filed.changes != tableChanges || filed.count != painter.Count()) {
        filed.grid.Build(thermals, painter.Count(), FillOf);
        filed.valid = true;
        filed.changes = tableChanges;
        filed.count = painter.Count();
    }
    return &filed.grid;
}

// Draws thermals first.. in table order. A thermal of unknown type is filled like the one before
// it, so the fill is followed through the whole table, also across thermals that lie outside dc's
// clip and are not drawn; before the first known type the fill is dc's current brush.
void DrawThermalRange(HDC dc, int first) {
    ThermalPainter painter(dc, first);
    if (first <= 0 && painter.Usable()) {
        // The thermals of the cells that reach the clip, in table order, each in the fill the
        // thermals skipped before it leave; the others are not looked at.
        static std::vector<int> picked;
        const ThermalGrid* grid = CurrentGrid(painter);
        const RECT& clip = painter.Clip();
        if (grid != nullptr && grid->Pick(painter.View(), clip.left, clip.top, clip.right, clip.bottom, picked)) {
            for (int i : picked) {
                painter.TakeFill(grid->FillBefore(i));
                painter.Draw(i);
            }
            return;
        }
    }
    for (int i = first < 0 ? 0 : first; i < painter.Count(); ++i) painter.Draw(i);
}

// Draws thermals first.. on dc and repeats them on the window's off-screen copy, starting there
// from the same current brush.
void DrawThermalsMirrored(HDC dc, int first) {
    HGDIOBJ startBrush = GetCurrentObject(dc, OBJ_BRUSH);
    DrawThermalRange(dc, first);
    if (HDC copy = MirrorOf(dc)) {
        HGDIOBJ copyBrush = SelectObject(copy, startBrush);
        DrawThermalRange(copy, first);
        SelectObject(copy, copyBrush);
    }
}

// One closed red outline through the four corners, on dc and on the window's off-screen copy.
void DrawRedOutline(HDC dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    // Held inside the GDI bounds; an edge beyond them is far off the window either way.
    int left = Clamped(x0), top = Clamped(y0), right = Clamped(x1), bottom = Clamped(y1);
    POINT corners[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    HDC targets[2] = {dc, MirrorOf(dc)};
    HPEN pen = CreatePen(PS_SOLID, OutlinePenWidth, Red);
    for (HDC target : targets) {
        if (target == nullptr) continue;
        HGDIOBJ old = SelectObject(target, pen);
        Polyline(target, corners, 5);
        SelectObject(target, old);
    }
    DeleteObject(pen);
}

}  // namespace

void DrawBackdrop(HDC dc, int x, int y, int drawWidth, int drawHeight) {
    if (backdrop.width <= 0 || backdrop.height <= 0 || backdrop.pixels.empty() || backdrop.info.empty())
        return;
    StretchDIBits(dc, x, y, drawWidth, drawHeight, 0, 0, backdrop.width, backdrop.height,
                  backdrop.pixels.data(), reinterpret_cast<const BITMAPINFO*>(backdrop.info.data()),
                  DIB_RGB_COLORS, SRCCOPY);
}

void DrawThermals(HDC dc) { DrawThermalsMirrored(dc, 0); }

void ForgetThermalGrid() { filed = FiledTable{}; }

void DrawThermalsFrom(HDC dc, int first) { DrawThermalsMirrored(dc, first); }

bool DrawSelection(HDC dc) {
    int xa = ColumnToWindowX(selStartX);
    int ya = RowToWindowY(selStartY);
    int xb = ColumnToWindowX(selEndX);
    int yb = RowToWindowY(selEndY);
    if (xa == xb && ya == yb) {
        areaSelected = 0;
        return false;
    }
    areaSelected = 1;
    DrawRedOutline(dc, xa, ya, xb, yb);
    ComputeSelectionBounds();
    UpdateStatusBar();
    return true;
}

void DrawAreaFrame(HDC dc) {
    double z = zoomFactor;
    int32_t mT = markers[MarkerTop].y;
    int32_t mB = markers[MarkerBottom].y;
    int32_t mL = markers[MarkerLeft].x;
    int32_t mR = markers[MarkerRight].x;
    int top = mT != 0 ? TruncToInt32(mT * z + mapOriginY) : mapOriginY;
    int bottom = mB != 0 ? TruncToInt32((static_cast<int64_t>(backdropHeight) - mB) * z + mapOriginY)
                         : TruncToInt32(backdropHeight * z + mapOriginY);
    int left = mL != 0 ? TruncToInt32(mL * z + mapOriginX) : mapOriginX;
    int right = mR != 0 ? TruncToInt32((static_cast<int64_t>(backdropWidth) - mR) * z + mapOriginX)
                        : TruncToInt32(backdropWidth * z + mapOriginX);
    DrawRedOutline(dc, left, top, right, bottom);
}

namespace {

// The backdrop stretched to the whole picture at one zoom. It is kept while it is no larger than
// a few screens, so that a repaint at the same zoom (a scroll, a click, a new thermal) copies it
// instead of reducing the whole backdrop again. It is made by the same stretching call as the
// paint's own, only placed at (0, 0), so it holds the same pixels.
constexpr int64_t KeptScreens = 4;

struct KeptPicture {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    // What it was made from.
    int width = 0, height = 0;
    double zoom = 0.0;
    uint32_t loadCount = 0;
    int stretchMode = 0;
};

KeptPicture kept;

bool SmallEnoughToKeep(int w, int h) {
    int64_t screen = int64_t{GetSystemMetrics(SM_CXSCREEN)} * GetSystemMetrics(SM_CYSCREEN);
    return int64_t{w} * h <= KeptScreens * screen;
}

bool KeptIsCurrent(int w, int h, int stretchMode) {
    return kept.dc != nullptr && kept.width == w && kept.height == h && kept.zoom == zoomFactor &&
           kept.loadCount == backdropLoadCount && kept.stretchMode == stretchMode;
}

bool MakeKept(HDC like, int w, int h, int stretchMode) {
    ForgetKeptPicture();
    kept.dc = CreateCompatibleDC(like);
    kept.bitmap = kept.dc != nullptr ? CreateCompatibleBitmap(like, w, h) : nullptr;
    if (kept.bitmap == nullptr) {
        ForgetKeptPicture();
        return false;
    }
    kept.oldBitmap = SelectObject(kept.dc, kept.bitmap);
    SetStretchBltMode(kept.dc, stretchMode);
    DrawBackdrop(kept.dc, 0, 0, w, h);
    kept.width = w;
    kept.height = h;
    kept.zoom = zoomFactor;
    kept.loadCount = backdropLoadCount;
    kept.stretchMode = stretchMode;
    return true;
}

}  // namespace

void ForgetKeptPicture() {
    if (kept.dc != nullptr && kept.oldBitmap != nullptr) SelectObject(kept.dc, kept.oldBitmap);
    if (kept.bitmap != nullptr) DeleteObject(kept.bitmap);
    if (kept.dc != nullptr) DeleteDC(kept.dc);
    kept = KeptPicture{};
}

namespace {

// Stretches the source pixels of a sw x sh picture that reach the visible part of the screen
// rectangle (left, top, w, h) to where the whole picture puts them.
void StretchPart(HDC dc, int64_t left, int64_t top, int64_t w, int64_t h, int64_t visLeft, int64_t visTop,
                 int64_t visRight, int64_t visBottom, int64_t sw, int64_t sh, const void* bits, const void* info) {
    int64_t c0 = (visLeft - left) * sw / w, c1 = ((visRight - left) * sw + w - 1) / w;
    int64_t r0 = (visTop - top) * sh / h, r1 = ((visBottom - top) * sh + h - 1) / h;
    c0 = std::max<int64_t>(0, c0 - 1); r0 = std::max<int64_t>(0, r0 - 1);
    c1 = std::min(sw, c1 + 1); r1 = std::min(sh, r1 + 1);
    const int64_t x0 = left + c0 * w / sw, x1 = left + c1 * w / sw;
    const int64_t y0 = top + r0 * h / sh, y1 = top + r1 * h / sh;
    StretchDIBits(dc, static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0), static_cast<int>(y1 - y0),
                  static_cast<int>(c0), static_cast<int>(sh - r1), static_cast<int>(c1 - c0), static_cast<int>(r1 - r0),
                  bits, reinterpret_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS, SRCCOPY);
}

// Below zoom 1: the visible part from the smallest reduced copy at least as large as the picture on
// screen (the picture itself when no copy is), each screen pixel taken from one source pixel
// (COLORONCOLOR), since the default mode combines shrunk pixels with AND and darkens the picture.
void PaintReduced(HDC dc, int64_t left, int64_t top, int64_t w, int64_t h, int64_t visLeft, int64_t visTop,
                  int64_t visRight, int64_t visBottom) {
    if (!PyramidIsOf(pyramid, backdrop, backdropLoadCount)) {
        RECT client{};
        GetClientRect(mapWindow, &client);
        BuildPyramid(backdrop, backdropLoadCount, client.right, client.bottom, pyramid);
        // Tried once per load: a picture that needs no copies, or finds no memory, is not tried again.
        pyramid.loadCount = backdropLoadCount;
        pyramid.source = backdrop.pixels.data();
        pyramid.width = backdrop.width;
        pyramid.height = backdrop.height;
    }
    const PyramidLevel* level = LevelFor(pyramid, w, h);
    BITMAPINFOHEADER levelInfo{};
    const void* bits = backdrop.pixels.data();
    const void* info = backdrop.info.data();
    int64_t sw = backdrop.width, sh = backdrop.height;
    if (level != nullptr) {
        levelInfo.biSize = sizeof levelInfo;
        levelInfo.biWidth = level->width;
        levelInfo.biHeight = -level->height;
        levelInfo.biPlanes = 1;
        levelInfo.biBitCount = 24;
        levelInfo.biCompression = BI_RGB;
        bits = level->pixels.data();
        info = &levelInfo;
        sw = level->width;
        sh = level->height;
    }
    int old = SetStretchBltMode(dc, COLORONCOLOR);
    constexpr int64_t StretchLimit = int64_t{1} << 31;
    if (w * sw < StretchLimit && h * sh < StretchLimit) {
        // The part is cut on the grid where source and screen pixels meet exactly (g source
        // pixels of the copy to every w / g screen pixels), so that it maps as the whole would.
        const int64_t gx = std::gcd(w, sw), gy = std::gcd(h, sh);
        const int64_t stepX = w / gx, stepC = sw / gx, stepY = h / gy, stepR = sh / gy;
        const int64_t k0 = (visLeft - left) / stepX, k1 = (visRight - left + stepX - 1) / stepX;
        const int64_t j0 = (visTop - top) / stepY, j1 = (visBottom - top + stepY - 1) / stepY;
        const int64_t c0 = k0 * stepC, c1 = k1 * stepC, r0 = j0 * stepR, r1 = j1 * stepR;
        StretchDIBits(dc, static_cast<int>(left + k0 * stepX), static_cast<int>(top + j0 * stepY),
                      static_cast<int>((k1 - k0) * stepX), static_cast<int>((j1 - j0) * stepY), static_cast<int>(c0),
                      static_cast<int>(sh - r1), static_cast<int>(c1 - c0), static_cast<int>(r1 - r0), bits,
                      reinterpret_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS, SRCCOPY);
    } else {
        StretchPart(dc, left, top, w, h, visLeft, visTop, visRight, visBottom, sw, sh, bits, info);
    }
    SetStretchBltMode(dc, old);
}

}  // namespace

void PaintBackdrop(HDC dc, const RECT& clip) {
    if (backdrop.width <= 0 || backdrop.height <= 0 || backdrop.pixels.empty()) {
        ForgetKeptPicture();
        return;
    }
    int w = PictureWidth();
    int h = PictureHeight();
    // The part of the picture inside clip; nothing to do when none of it is.
    int64_t left = mapOriginX, top = mapOriginY;
    int64_t visLeft = left > clip.left ? left : clip.left;
    int64_t visTop = top > clip.top ? top : clip.top;
    int64_t visRight = left + w < clip.right ? left + w : clip.right;
    int64_t visBottom = top + h < clip.bottom ? top + h : clip.bottom;
    if (visLeft >= visRight || visTop >= visBottom) return;

    if (zoomFactor < 1.0) {
        ForgetKeptPicture();
        PaintReduced(dc, left, top, w, h, visLeft, visTop, visRight, visBottom);
        return;
    }
    int stretchMode = GetStretchBltMode(dc);
    if (SmallEnoughToKeep(w, h) && (KeptIsCurrent(w, h, stretchMode) || MakeKept(dc, w, h, stretchMode))) {
        BitBlt(dc, static_cast<int>(visLeft), static_cast<int>(visTop), static_cast<int>(visRight - visLeft),
               static_cast<int>(visBottom - visTop), kept.dc, static_cast<int>(visLeft - left),
               static_cast<int>(visTop - top), SRCCOPY);
        return;
    }
    // Too large to keep: stretch straight into dc. GDI works only on the part of the destination
    // inside dc's clip, so the cost follows the window, not the zoom.
    ForgetKeptPicture();
    const int64_t sw = backdrop.width, sh = backdrop.height;
    constexpr int64_t StretchLimit = int64_t{1} << 31;
    if (int64_t{w} * sw < StretchLimit && int64_t{h} * sh < StretchLimit) {
        DrawBackdrop(dc, mapOriginX, mapOriginY, w, h);
        return;
    }
    // Past that, GDI's stretch works in products of the two sizes that overflow, and draws
    // nothing: stretch only the source pixels that reach the clip, to where the whole picture
    // puts them.
    StretchPart(dc, left, top, w, h, visLeft, visTop, visRight, visBottom, sw, sh, backdrop.pixels.data(),
                backdrop.info.data());
}

namespace {

// Blends the window pixels x0..x1, y0..y1 (right and bottom excluded) held at bits, where window
// pixel (x, y) is bits[(y - top) * stride + (x - left)], with the map's grey under each.
void BlendWithMap(uint32_t* bits, int stride, int left, int top, int x0, int y0, int x1, int y1) {
    const Brightness& map = thermalMap;
    const auto clampTo = [](int v, int n) { return v < 0 ? 0 : v >= n ? n - 1 : v; };
    // The map column of each window column and the map row of each window row, through the
    // backdrop pixel the window pixel shows.
    static std::vector<int32_t> columns;
    columns.resize(static_cast<size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x)
        columns[x - x0] = static_cast<int32_t>(int64_t{clampTo(WindowToColumn(x), backdropWidth)} * map.width / backdropWidth);
    for (int y = y0; y < y1; ++y) {
        const int64_t row = int64_t{clampTo(WindowToRow(y), backdropHeight)} * map.height / backdropHeight;
        const uint8_t* greys = map.values.data() + row * map.width;
        uint32_t* p = bits + static_cast<ptrdiff_t>(y - top) * stride + (x0 - left);
        for (int i = 0; i < x1 - x0; ++i) {
            const uint32_t a = p[i], b = 0x010101u * greys[columns[i]];
            // Per channel, (a + b) / 2 rounded down, without a carry into the next channel.
            p[i] = ((a & b) + (((a ^ b) & 0xFEFEFEu) >> 1)) & 0xFFFFFFu;
        }
    }
}

}  // namespace

void PaintThermalMapOver(HDC dc, const RECT& clip) {
    if (thermalMap.values.empty() || backdrop.pixels.empty() || backdropWidth <= 0 || backdropHeight <= 0) return;
    const int64_t left = mapOriginX, top = mapOriginY;
    int x0 = static_cast<int>(std::max<int64_t>(left, clip.left)), y0 = static_cast<int>(std::max<int64_t>(top, clip.top));
    int x1 = static_cast<int>(std::min<int64_t>(left + PictureWidth(), clip.right));
    int y1 = static_cast<int>(std::min<int64_t>(top + PictureHeight(), clip.bottom));
    if (x0 >= x1 || y0 >= y1) return;
    PixelTarget pixels;
    if (PixelTargetOf(dc, pixels)) {
        // Our own pixels: blended where they lie, once GDI has put the backdrop there.
        x0 = std::max(x0, pixels.left), y0 = std::max(y0, pixels.top);
        x1 = std::min(x1, pixels.right), y1 = std::min(y1, pixels.bottom);
        if (x0 >= x1 || y0 >= y1) return;
        GdiFlush();
        BlendWithMap(pixels.bits, pixels.stride, 0, 0, x0, y0, x1, y1);
        return;
    }
    // Another device context: the part is copied out, blended and copied back through dc's clip.
    const int w = x1 - x0, h = y1 - y0;
    BITMAPINFO info = TopDownPictureInfo(w, h);
    void* bits = nullptr;
    HDC scratch = CreateCompatibleDC(dc);
    HBITMAP section = scratch != nullptr ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (section != nullptr) {
        HGDIOBJ old = SelectObject(scratch, section);
        BitBlt(scratch, 0, 0, w, h, dc, x0, y0, SRCCOPY);
        GdiFlush();
        BlendWithMap(static_cast<uint32_t*>(bits), w, x0, y0, x0, y0, x1, y1);
        BitBlt(dc, x0, y0, w, h, scratch, 0, 0, SRCCOPY);
        SelectObject(scratch, old);
        DeleteObject(section);
    }
    if (scratch != nullptr) DeleteDC(scratch);
}
