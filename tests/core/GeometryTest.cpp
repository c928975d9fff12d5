// The view's conversions between backdrop, window and positions, and the status texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <cstdlib>
#include <utility>
#include <vector>

#include "map/Geometry.h"
#include "map/Selection.h"
#include "map/ThermalGrid.h"
#include "model/Project.h"

namespace {

class GeometryTest : public ::testing::Test {
protected:
    void SetUp() override { Set(1019, 840, 600, 400, 1000.0); }  // a room of 1000 x 800
    void TearDown() override { Set(0, 0, 0, 0, 0.0); }
    static void Set(int viewW, int viewH, int width, int height, double perPixel) {
        ResetView();
        ResetSelection();
        viewWidth = viewW, viewHeight = viewH, backdropWidth = width, backdropHeight = height;
        areaTop = perPixel > 0 ? 5300000 : 0, areaLeft = perPixel > 0 ? 500000 : 0;
        latPerPixel = lonPerPixel = perPixel;
    }
};

TEST_F(GeometryTest, ConversionsTruncateOnceTowardZero) {
    zoomFactor = 10.0;
    EXPECT_EQ(WindowToColumn(-7), 0);  // -0.7
    EXPECT_EQ(WindowToRow(-15), -1);   // -1.5
    zoomFactor = 1.5, mapOriginX = -3;
    EXPECT_EQ(ColumnToWindowX(1), -1);  // trunc(1.5 - 3), not trunc(1.5) - 3
    zoomFactor = 3.0, latPerPixel = 100.0;
    EXPECT_EQ(WindowToLat(1), 5299966);  // a third of a row, not a whole row
    EXPECT_EQ(WindowToLon(-3000), -499000);  // beyond the backdrop: not clamped
    int x, y;
    ASSERT_TRUE(GeoToWindow(5299950, 500001, x, y));
    EXPECT_EQ(x, -2);  // trunc(0.003 - 3)
    EXPECT_EQ(y, 1);   // trunc(1.5)
    // Far positions saturate rather than wrap, at the largest zoom (2^26 over 1000 pixels).
    zoomFactor = 67108.864, mapOriginX = 0;
    ASSERT_TRUE(GeoToWindow(INT32_MIN, INT32_MAX, x, y));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(INT32_MAX, INT32_MAX));
    EXPECT_DOUBLE_EQ(RadiusToWindow(INT32_MIN), -1441151880758.5588);  // in doubles, never wrapped
    zoomFactor = 1.0, mapOriginX = INT32_MAX;  // and so does a far origin
    ASSERT_TRUE(GeoToWindow(5250000, 500000, x, y));
    EXPECT_EQ(x, INT32_MAX);
    latPerPixel = lonPerPixel = 0;  // no backdrop yet: nothing is placed
    EXPECT_FALSE(GeoToWindow(5250000, 500000, x, y));
}

// Fit takes the tighter of the room's two ratios; the steps stop at the picture's largest size,
// at the fitted zoom, and at one pixel of picture where nothing was fitted.
TEST_F(GeometryTest, FitAndZoomSteps) {
    const struct { bool (*step)(); int width, height; double zoom, fit, after; bool erases; } cases[] = {
        {[] { return FitZoom(), false; }, 600, 400, 1.0, 0.0, 1000.0 / 600, false},
        {[] { return FitZoom(), false; }, 400, 600, 1.0, 0.0, 800.0 / 600, false},
        {ZoomIn, 600, 400, 1.0, 0.5, 1.1, false},
        {ZoomIn, 600, 400, 110000.0, 0.5, 110000.0, false},
        {ZoomOut, 600, 400, 2.0, 0.5, 1.8, false},
        {ZoomOut, 600, 400, 1.0, 0.95, 0.95, true},
        {ZoomOut, 600, 400, 0.95, 0.95, 0.95, false},
        {ZoomOut, 600, 400, 1.0 / 600, 1e-4, 1.0 / 600, false},
    };
    for (const auto& c : cases) {
        Set(1019, 840, c.width, c.height, 1000.0);
        zoomFactor = c.zoom, fitZoom = c.fit;
        EXPECT_EQ(c.step(), c.erases) << c.zoom;
        EXPECT_DOUBLE_EQ(zoomFactor, c.after) << c.zoom;
        EXPECT_DOUBLE_EQ(fitZoom, c.fit > 0 ? c.fit : c.after) << c.zoom;
    }
}

TEST_F(GeometryTest, PointerAndSelectionTexts) {
    pointerX = 250, pointerY = 500;
    ComputePointerPosition();
    EXPECT_STREQ(statusText[0], " Lat:  48.00000 Lon:    7.50000");
    selStartX = 100, selStartY = 0, selEndX = 0, selEndY = 100;  // 52-53 N, 5-6 E, dragged either way
    ComputeSelectionBounds();
    EXPECT_EQ(std::vector<int32_t>({selNorth, selSouth, selWest, selEast, selCentreLat, selCentreLon}),
              std::vector<int32_t>({5300000, 5200000, 500000, 600000, 5250000, 550000}));
    EXPECT_STREQ(statusText[1], " hor:   67.8 km - ver.:  111.2 km - area:   7532.4 sq.km");
}

// At every zoom the keypad reaches, from fit to the largest, stepping by lines and by pages from
// one end of the picture to the other and back moves it by at most the room each step (no column
// is skipped) and reaches both ends; where a percent of the overflow is within the cap, the steps
// are whole percents with the origins a percent always gave. A line step is at least one unit, at
// most a percent, and moves the picture at most a tenth of the room unless it is the one unit.
TEST_F(GeometryTest, ScrollStepsReachEveryColumnAtEveryZoom) {
    const ScrollAxis axis = ScrollAxis::Horizontal;
    const int room = ScrollRoom(axis);
    int zooms = 0;
    for (double before = (FitZoom(), 0.0); zoomFactor != before; before = zoomFactor, ZoomIn(), ++zooms) {
        const double overflow = ScrollOverflow(axis), pixelsPerUnit = std::fabs(overflow) / (100.0 * ScrollUnitsPerPercent);
        for (int percent : {1, 5}) {
            const bool uncapped = overflow * percent / 100 <= (percent == 1 ? 0.1 : 0.9) * room;
            for (int from : {0, ScrollPositionMax}) {
                ScrollPosition(axis) = from, UpdateMapOrigin();
                for (int k = 1, last = mapOriginX; ScrollPosition(axis) != ScrollPositionMax - from; ++k, last = mapOriginX) {
                    const int before = ScrollPosition(axis);
                    ScrollBy(axis, (from ? -1 : 1) * (percent == 1 ? ScrollLineStep(axis) : ScrollPageStep(axis))), UpdateMapOrigin();
                    const int64_t moved = std::abs(int64_t{ScrollPosition(axis)} - before);
                    const bool atEnd = ScrollPosition(axis) == ScrollPositionMax - from;
                    ASSERT_TRUE(percent != 1 || (moved >= 1 && moved <= ScrollUnitsPerPercent &&
                                                 (moved == 1 || atEnd || moved * pixelsPerUnit <= 0.1 * room * (1 + 1e-9)))) << zoomFactor << " " << moved;
                    ASSERT_LE(std::abs(mapOriginX - last), room) << zoomFactor;
                    if (uncapped && !from && ScrollPosition(axis) < ScrollPositionMax) {
                        ASSERT_EQ(mapOriginX, static_cast<int>(-(overflow / 100.0) * (percent * k))) << zoomFactor;
                    }
                }
                EXPECT_NEAR(mapOriginX, from ? 0.0 : -overflow, 1.0);
            }
        }
    }
    EXPECT_GT(zooms, 100);  // up to the largest, which ZoomIn keeps
}

}  // namespace

// A paint skips the thermals the grid does not pick: the pick must hold every thermal whose own
// estimate (centre, radius and wind reach) meets the clip, in table order, for views at several
// scales, each way up and with no number, and drop the far ones; each picked thermal must get the
// fill the thermals before it leave.
TEST(ThermalGridTest, PicksEveryThermalThatCanReachTheClipInTableOrderWithItsFill) {
    std::vector<Thermal> table;
    uint32_t seed = 12345;
    auto next = [&seed](int32_t range) { return static_cast<int32_t>((seed = seed * 1103515245u + 12345u) >> 8) % range; };
    for (int i = 0; i < 3000; ++i)
        table.push_back(Thermal{5000000 + next(200000), 500000 + next(300000), next(6), 0, 0, 200 + next(2000), next(360),
                                0, 0, 0, 0, 0, 0});
    table[17].lat = INT32_MIN, table[18].lon = INT32_MAX, table[19].radius = INT32_MAX;  // far out, huge
    // 300 pixels left of the window in the view whose scale runs the other way, where its
    // negative radius makes it 500 pixels wide.
    table[20].lat = 5085000, table[20].lon = 730000, table[20].type = 1, table[20].radius = -50000;
    auto fillOf = [](const Thermal& t) { return t.type >= 1 && t.type <= 4 ? t.type : -1; };
    ThermalGrid grid;
    grid.Build(table.data(), static_cast<int>(table.size()), fillOf);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Scales of 1/1000 degree a pixel at zooms 1/3, 1, 8 and 64; selective rows must not give up.
    struct Row { double to, originX, originY, windReach; int left, right; bool selective; };
    const Row rows[] = {
        {0.0033, 0, 0, 1.0, 0, 1000, false},            // the whole area in the window
        {0.01, -1000, -500, 1.25, 0, 1000, true},       // a part of it
        {0.01, -1000, -500, 1.25, 900, 1000, true},     // a strip of that view
        {0.08, -10000, -6000, 10.0, 0, 1000, true},     // wind lines ten radii long
        {0.64, -100000, -60000, 80.0, 0, 1000, false},  // lines longer than the area: most may reach
        {-0.01, 2000, 1500, 1.25, 0, 1000, true},       // a scale that runs the other way
        {0.01, 1e9, 1e9, 1.25, 0, 1000, true},          // the area far off: the huge one only
        {nan, 0, 0, 1.25, 0, 1000, false},              // no number: left to the estimate
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "scale " << r.to << " origin " << r.originX << " clip from " << r.left);
        const GridView view{500000, 5200000, r.to, r.to, r.originX, r.originY, 5.0, r.windReach, 7.0};
        std::vector<int> picked;
        if (!grid.Pick(view, r.left, 0, r.right, 700, picked)) {
            EXPECT_FALSE(r.selective);
            EXPECT_GT(picked.size() * 2, table.size()) << "gives up only on more than half the table";
            continue;
        }
        EXPECT_TRUE(std::is_sorted(picked.begin(), picked.end()));
        int fill = -1;
        size_t meeting = 0;
        for (int i = 0; i < static_cast<int>(table.size()); ++i) {
            const Thermal& t = table[static_cast<size_t>(i)];
            const double x = (static_cast<double>(t.lon) - view.areaLeft) * r.to + r.originX;
            const double y = (view.areaTop - t.lat) * r.to + r.originY;
            const double radius = std::fmax(t.radius * r.to, 5.0);
            const double reach = (t.type != 4 ? radius * r.windReach : radius) + 7.0;
            const bool meets = !(x + reach < r.left || x - reach > r.right || y + reach < 0 || y - reach > 700);
            const bool found = std::binary_search(picked.begin(), picked.end(), i);
            meeting += meets;
            EXPECT_TRUE(found || !meets) << "thermal " << i;
            EXPECT_EQ(found ? grid.FillBefore(i) : fill, fill) << "thermal " << i;
            if (fillOf(t) >= 0) fill = fillOf(t);
        }
        EXPECT_LE(picked.size(), 3 * meeting + 50) << "the far ones are dropped";
    }
}

// The whole-degree directions come from a table: each must be the very value of the expression
// the other directions use, or a line would turn between a whole degree and its neighbours.
TEST(WindDirectionTest, EveryDirectionIsTheExpressionsOwnValue) {
    for (int32_t degrees = -400; degrees <= 400; ++degrees) {
        double sine = 0.0, cosine = 0.0;
        WindDirection(degrees, sine, cosine);
        const double angle = PiForWind * degrees / 180.0;
        ASSERT_EQ(sine, std::sin(angle)) << degrees;
        ASSERT_EQ(cosine, std::cos(angle)) << degrees;
    }
}
