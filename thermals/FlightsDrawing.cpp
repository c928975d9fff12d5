// The Flights dialog's drawing over the map: tracks as 1-pixel lines, circles of the thermals
// Add would place. The tracks are kept as picture pixels for the current zoom, with the fixes
// that fall on the pixel of the one before left out, so that a paint draws each pixel of a track
// about once, and only the stretches that reach the clip.
#include <cmath>
#include <cstring>
#include <unordered_set>

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

struct TrackCache {
    uint32_t changes = 0;
    double zoom = 0, latFactor = 0, lonFactor = 0;
    int32_t top = 0, left = 0;
    bool valid = false;
    std::vector<std::vector<POINT>> tracks;  // picture pixels, from the backdrop's top-left corner
};
TrackCache cache;

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

LONG PicturePixel(double value) {
    if (!(value > -CoordinateLimit)) return static_cast<LONG>(-CoordinateLimit);
    if (value > CoordinateLimit) return static_cast<LONG>(CoordinateLimit);
    return static_cast<LONG>(std::floor(value));
}

void UpdateCache() {
    if (cache.valid && cache.changes == flightChanges && cache.zoom == zoomFactor && cache.latFactor == latPerPixel &&
        cache.lonFactor == lonPerPixel && cache.top == areaTop && cache.left == areaLeft)
        return;
    cache.valid = true;
    cache.changes = flightChanges;
    cache.zoom = zoomFactor;
    cache.latFactor = latPerPixel;
    cache.lonFactor = lonPerPixel;
    cache.top = areaTop;
    cache.left = areaLeft;
    cache.tracks.assign(loadedFlights.size(), {});
    for (size_t f = 0; f < loadedFlights.size(); ++f) {
        std::vector<POINT>& points = cache.tracks[f];
        for (const FlightFix& fix : loadedFlights[f].log.fixes) {
            const POINT p{PicturePixel((fix.lon * UnitsPerDegree - areaLeft) / lonPerPixel * zoomFactor),
                          PicturePixel((areaTop - fix.lat * UnitsPerDegree) / latPerPixel * zoomFactor)};
            if (points.empty() || p.x != points.back().x || p.y != points.back().y) points.push_back(p);
        }
    }
}

void DrawTrack(HDC dc, const std::vector<POINT>& points, const RECT& clip, std::vector<POINT>& run) {
    // Stretches whose legs all miss the clip are left out; a leg that reaches it is drawn whole.
    const LONG left = clip.left - mapOriginX - 1, right = clip.right - mapOriginX + 1;
    const LONG top = clip.top - mapOriginY - 1, bottom = clip.bottom - mapOriginY + 1;
    run.clear();
    auto flush = [&]() {
        if (run.size() >= 2) Polyline(dc, run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    for (size_t i = 1; i < points.size(); ++i) {
        const POINT& a = points[i - 1];
        const POINT& b = points[i];
        const bool reaches = !((a.x < left && b.x < left) || (a.x > right && b.x > right) || (a.y < top && b.y < top) ||
                               (a.y > bottom && b.y > bottom));
        if (!reaches) {
            flush();
            continue;
        }
        if (run.empty()) run.push_back({a.x + mapOriginX, a.y + mapOriginY});
        run.push_back({b.x + mapOriginX, b.y + mapOriginY});
    }
    flush();
}

}  // namespace

void SetFlightCircles(const std::vector<FoundThermal>& found) { circles = found; }

void DrawFlights(HDC dc) {
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION || latPerPixel <= 0 || lonPerPixel <= 0) return;
    UpdateCache();
    std::vector<POINT> run;
    for (size_t f = 0; f < cache.tracks.size(); ++f) {
        HPEN pen = CreatePen(PS_SOLID, 1, TrackColours[f % (sizeof TrackColours / sizeof TrackColours[0])]);
        HGDIOBJ old = SelectObject(dc, pen);
        DrawTrack(dc, cache.tracks[f], clip, run);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
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
        if (inTable.count(PositionKey(TableLat(t), TableLon(t))) != 0 || !GeoToWindow(TableLat(t), TableLon(t), x, y)) continue;
        if (x + ri < clip.left - 2 || x - ri > clip.right + 2 || y + ri < clip.top - 2 || y - ri > clip.bottom + 2) continue;
        Ellipse(dc, x - ri, y - ri, x + ri, y + ri);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}
