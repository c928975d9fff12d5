// The view's conversions between backdrop, window and positions, and the status texts.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <cstdlib>
#include <utility>
#include <vector>

#include "map/Geometry.h"
#include "map/Selection.h"
#include "map/ThermalReach.h"
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
// are whole percents with the origins a percent always gave.
TEST_F(GeometryTest, ScrollStepsReachEveryColumnAtEveryZoom) {
    const ScrollAxis axis = ScrollAxis::Horizontal;
    const int room = ScrollRoom(axis);
    int zooms = 0;
    for (double before = (FitZoom(), 0.0); zoomFactor != before; before = zoomFactor, ZoomIn(), ++zooms) {
        const double overflow = ScrollOverflow(axis);
        for (int percent : {1, 5}) {
            const bool uncapped = overflow * percent / 100 <= (percent == 1 ? 0.1 : 0.9) * room;
            for (int from : {0, ScrollPositionMax}) {
                ScrollPosition(axis) = from, UpdateMapOrigin();
                for (int k = 1, last = mapOriginX; ScrollPosition(axis) != ScrollPositionMax - from; ++k, last = mapOriginX) {
                    ScrollBy(axis, (from ? -1 : 1) * (percent == 1 ? ScrollLineStep(axis) : ScrollPageStep(axis))), UpdateMapOrigin();
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

// A strip of a moved view skips the thermals whose noted box misses it: the box must meet the clip
// wherever the painter's own estimate (centre plus origin, give or take the reach) does, also for
// positions and reaches past the 32-bit range or no number at all, and must still drop the far ones.
TEST(ThermalReachTest, TheBoxMeetsTheClipWheneverTheEstimateDoesAndDropsTheFarOnes) {
    constexpr double Huge = 1e12, Nan = std::numeric_limits<double>::quiet_NaN();
    struct Row { double x, y, reach; int64_t originX, originY; bool meets; };
    const Row rows[] = {
        {100.0, 100.0, 10.0, 0, 0, true},                // inside
        {-9.6, 50.0, 10.0, 0, 0, true},                  // reaches the left edge by less than a pixel
        {50.0, 509.6, 10.0, 0, 0, true},                 // the bottom edge likewise
        {-40.0, 50.0, 10.0, 0, 0, false},                // far to the left
        {50.0, 560.0, 10.0, 0, 0, false},                // far below
        {-300.0, -200.0, 10.0, 350, 260, true},          // brought in by the origin
        {-300.0, -200.0, 10.0, -350, -260, false},       // taken out by it
        {3e9, 3e9, Huge, 0, 0, true},                    // a disc larger than the picture
        {-3e9, 100.0, 1.0, 0, 0, false},                 // past the range, far off
        {Nan, 100.0, 10.0, 0, 0, true},                  // no number: drawn, the painter decides
        {100.0, 100.0, Nan, 0, 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << ", " << r.y << " reach " << r.reach);
        const ReachBox box = ReachAround(r.x, r.y, r.reach);
        EXPECT_EQ(ReachMeets(box, r.originX, r.originY, 0, 0, 500, 500), r.meets);
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
