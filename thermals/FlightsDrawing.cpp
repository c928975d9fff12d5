// The Flights dialog's drawing over the map: tracks as 1-pixel lines, circles of the thermals
// Add would place.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "map/DiscStamps.h"
#include "map/Geometry.h"
#include "model/Project.h"
#include "thermals/Flights.h"
#include "thermals/FlightsDialog.h"
#include "thermals/Manual.h"

namespace {

// Colours that stand out on a photograph of the ground, one a flight in list order.
const COLORREF TrackColours[] = {RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 0), RGB(255, 128, 0),
                                 RGB(0, 255, 0),   RGB(255, 0, 0),   RGB(0, 128, 255), RGB(255, 255, 255),
                                 RGB(160, 0, 255), RGB(255, 0, 128)};
const COLORREF CircleColour = RGB(255, 255, 255);
constexpr double CoordinateLimit = 1 << 26;  // picture pixels beyond this are cut

std::vector<FoundThermal> circles;

// The tracks in backdrop pixels, kept while the flights and the area stay; and in picture
// pixels (window pixels from the backdrop's top-left corner) for one zoom, thinned there to the
// fixes at least two pixels from the one kept before, in stretches of Stretch fixes with their
// bounds, so that a paint passes over the stretches that miss its clip.
constexpr size_t Stretch = 64;

struct PictureTrack {
    std::vector<POINT> points;
    std::vector<RECT> bounds;  // of points [k * Stretch, (k + 1) * Stretch], the next stretch's first included
};

struct TrackCache {
    uint32_t changes = 0;
    double latFactor = 0, lonFactor = 0;
    int32_t top = 0, left = 0;
    bool valid = false;
    std::vector<std::vector<double>> backdropPixels;  // x, y in turn
    double zoom = 0;
    bool zoomValid = false;
    std::vector<PictureTrack> tracks;
};
TrackCache cache;

LONG PicturePixel(double value) {
    if (!(value > -CoordinateLimit)) return static_cast<LONG>(-CoordinateLimit);
    if (value > CoordinateLimit) return static_cast<LONG>(CoordinateLimit);
    // The nearest pixel by the current rounding, without the change of rounding mode a
    // truncation costs on the x87: the same pixel wherever the origin lies.
    return static_cast<LONG>(std::lrint(value));
}

void UpdateCache() {
    if (!cache.valid || cache.changes != flightChanges || cache.latFactor != latPerPixel || cache.lonFactor != lonPerPixel ||
        cache.top != areaTop || cache.left != areaLeft) {
        cache.valid = true;
        cache.zoomValid = false;
        cache.changes = flightChanges;
        cache.latFactor = latPerPixel;
        cache.lonFactor = lonPerPixel;
        cache.top = areaTop;
        cache.left = areaLeft;
        cache.backdropPixels.assign(loadedFlights.size(), {});
        for (size_t f = 0; f < loadedFlights.size(); ++f) {
            std::vector<double>& xy = cache.backdropPixels[f];
            xy.reserve(loadedFlights[f].log.fixes.size() * 2);
            for (const FlightFix& fix : loadedFlights[f].log.fixes) {
                xy.push_back((fix.lon * UnitsPerDegree - areaLeft) / lonPerPixel);
                xy.push_back((areaTop - fix.lat * UnitsPerDegree) / latPerPixel);
            }
        }
    }
    if (cache.zoomValid && cache.zoom == zoomFactor) return;
    cache.zoomValid = true;
    cache.zoom = zoomFactor;
    cache.tracks.assign(cache.backdropPixels.size(), {});
    for (size_t f = 0; f < cache.backdropPixels.size(); ++f) {
        const std::vector<double>& xy = cache.backdropPixels[f];
        std::vector<POINT>& points = cache.tracks[f].points;
        for (size_t i = 0; i + 1 < xy.size(); i += 2) {
            const POINT p{PicturePixel(xy[i] * zoomFactor), PicturePixel(xy[i + 1] * zoomFactor)};
            const bool last = i + 2 >= xy.size();
            if (!points.empty() && !last && std::abs(p.x - points.back().x) <= 1 && std::abs(p.y - points.back().y) <= 1) continue;
            points.push_back(p);
        }
        std::vector<RECT>& bounds = cache.tracks[f].bounds;
        for (size_t k = 0; k < points.size(); k += Stretch) {
            RECT r{points[k].x, points[k].y, points[k].x, points[k].y};
            for (size_t i = k; i <= k + Stretch && i < points.size(); ++i) {
                r.left = std::min(r.left, points[i].x), r.right = std::max(r.right, points[i].x);
                r.top = std::min(r.top, points[i].y), r.bottom = std::max(r.bottom, points[i].y);
            }
            bounds.push_back(r);
        }
    }
}

int64_t RoundedQuotient(int64_t n, int64_t d) {  // d > 0
    return n >= 0 ? (2 * n + d) / (2 * d) : -((-2 * n + d) / (2 * d));
}

// The line from a to b in window pixels, written into the target's pixels. Each pixel follows from
// the two ends alone, never from where the target's clip cuts the line, so that a strip drawn on
// its own holds what the whole picture holds there.
void PutLine(const PixelTarget& target, POINT a, POINT b, uint32_t colour) {
    const bool steep = std::abs(b.y - a.y) > std::abs(b.x - a.x);
    if (steep) std::swap(a.x, a.y), std::swap(b.x, b.y);
    if (a.x > b.x) std::swap(a, b);
    const int64_t dx = b.x - a.x, dy = b.y - a.y;
    const LONG lowMajor = steep ? target.top : target.left, highMajor = steep ? target.bottom : target.right;
    const LONG lowMinor = steep ? target.left : target.top, highMinor = steep ? target.right : target.bottom;
    const LONG from = std::max<LONG>(a.x, lowMajor), to = std::min<LONG>(b.x, highMajor - 1);
    for (LONG major = from; major <= to; ++major) {
        const int64_t minor = dx == 0 ? a.y : a.y + RoundedQuotient((major - a.x) * dy, dx);
        if (minor < lowMinor || minor >= highMinor) continue;
        const int64_t x = steep ? minor : major, y = steep ? major : minor;
        target.bits[y * target.stride + x] = colour;
    }
}

void DrawTrack(HDC dc, const PixelTarget* pixels, COLORREF colour, const PictureTrack& track, const RECT& clip,
               std::vector<POINT>& run) {
    // Stretches that miss the clip are left out; one that reaches it is drawn whole.
    const LONG left = clip.left - mapOriginX - 1, right = clip.right - mapOriginX + 1;
    const LONG top = clip.top - mapOriginY - 1, bottom = clip.bottom - mapOriginY + 1;
    const uint32_t dibColour = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    run.clear();
    auto flush = [&]() {
        if (pixels != nullptr) {
            for (size_t i = 1; i < run.size(); ++i) PutLine(*pixels, run[i - 1], run[i], dibColour);
        } else if (run.size() >= 2) {
            Polyline(dc, run.data(), static_cast<int>(run.size()));
        }
        run.clear();
    };
    const std::vector<POINT>& points = track.points;
    for (size_t k = 0; k < track.bounds.size(); ++k) {
        const RECT& b = track.bounds[k];
        if (b.right < left || b.left > right || b.bottom < top || b.top > bottom) {
            flush();
            continue;
        }
        const size_t first = k * Stretch, end = std::min(points.size(), first + Stretch + 1);
        for (size_t i = run.empty() ? first : first + 1; i < end; ++i) run.push_back({points[i].x + mapOriginX, points[i].y + mapOriginY});
    }
    flush();
}

// The positions of the table's thermals: a thermal already there is not placed again.
struct TakenPositions {
    uint32_t changes = 0;
    int32_t count = -1;
    std::unordered_set<uint64_t> keys;
};
TakenPositions taken;

uint64_t PositionKey(int32_t lat, int32_t lon) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(lat)) << 32) | static_cast<uint32_t>(lon);
}

const std::unordered_set<uint64_t>& TakenNow() {
    if (taken.changes != tableChanges || taken.count != thermalCount) {
        taken.changes = tableChanges;
        taken.count = thermalCount;
        taken.keys.clear();
        for (int32_t i = 0; i < thermalCount; ++i) taken.keys.insert(PositionKey(thermals[i].lat, thermals[i].lon));
    }
    return taken.keys;
}

}  // namespace

void SetFlightCircles(const std::vector<FoundThermal>& found) { circles = found; }

void DrawFlights(HDC dc) {
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION || latPerPixel <= 0 || lonPerPixel <= 0) return;
    UpdateCache();
    // On the kept composition our own code writes the lines; elsewhere GDI draws them with one
    // stock pen whose colour changes.
    PixelTarget pixels;
    const bool own = PixelTargetOf(dc, pixels);
    if (own) GdiFlush();
    std::vector<POINT> run;
    HGDIOBJ oldTrackPen = SelectObject(dc, GetStockObject(DC_PEN));
    const COLORREF oldColour = GetDCPenColor(dc);
    for (size_t f = 0; f < cache.tracks.size(); ++f) {
        const COLORREF colour = TrackColours[f % (sizeof TrackColours / sizeof TrackColours[0])];
        SetDCPenColor(dc, colour);
        DrawTrack(dc, own ? &pixels : nullptr, colour, cache.tracks[f], clip, run);
    }
    SetDCPenColor(dc, oldColour);
    SelectObject(dc, oldTrackPen);
    if (circles.empty()) return;
    // The circles have the radius a thermal placed now gets, as its disc would show it.
    double r = RadiusToWindow(TextToInt(manualSettings.radius));
    if (r < 5.0) r = 5.0;
    const int ri = static_cast<int>(r);
    HPEN pen = CreatePen(PS_SOLID, 2, CircleColour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const std::unordered_set<uint64_t>& inTable = TakenNow();
    for (const FoundThermal& t : circles) {
        int x = 0, y = 0;
        // Only what Add would place: inside the area as it stands now, not in the table yet.
        if (!InsideArea(t) || inTable.count(PositionKey(TableLat(t), TableLon(t))) != 0 || !GeoToWindow(TableLat(t), TableLon(t), x, y))
            continue;
        if (x + ri < clip.left - 2 || x - ri > clip.right + 2 || y + ri < clip.top - 2 || y - ri > clip.bottom + 2) continue;
        Ellipse(dc, x - ri, y - ri, x + ri, y + ri);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}
