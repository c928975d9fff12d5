// Finding climbs in flights and merging them into thermals: synthetic tracks with known answers,
// then one competition day of real flights.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "thermals/Climbs.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double NorthPerMetre = 180.0 / (Pi * EarthRadius);
const double EastPerMetre = NorthPerMetre / std::cos(51.0 * Pi / 180.0);

// A track at 51 N 6 E built leg by leg, one fix a second; x and y in metres east and north.
struct Track {
    FlightLog log;
    double x = 0, y = 0, altitude = 1000;
    int32_t time = 36000;
    void Fix() { log.fixes.push_back({time++, 51.0 + y * NorthPerMetre, 6.0 + x * EastPerMetre, static_cast<int32_t>(std::lround(altitude))}); }
    Track& Glide(int seconds, double atAltitude) {
        altitude = atAltitude;
        for (int i = 0; i < seconds; ++i, x += 30) Fix();
        return *this;
    }
    // Circles of 80 m in 25 s about a centre that drifts east, climbing (or sinking) steadily.
    Track& Circle(int seconds, double climb, double driftEast, double* centreX = nullptr) {
        const double cx = x, cy = y - 80;
        for (int i = 0; i < seconds; ++i, altitude += climb) {
            const double a = 2 * Pi * i / 25.0;
            x = cx + driftEast * i + 80 * std::sin(a);
            y = cy + 80 * std::cos(a);
            Fix();
        }
        if (centreX != nullptr) *centreX = cx + driftEast * seconds / 2.0;
        return *this;
    }
};

struct FinderRow {
    const char* name;
    int circleSeconds;
    double climb, drift, startAltitude, lowestAltitude;
    ClimbSettings settings;
    int climbs;
    int windDir = -1;
    double shiftEast = 0;  // of the climb's position from the circles' mean centre, metres
};

TEST(ClimbsTest, FindsKnownClimbs) {
    ClimbSettings traceBack;
    traceBack.traceBack = true;
    ClimbSettings weak;
    weak.minClimb = 0.2;
    ClimbSettings none;
    none.minClimb = none.minGain = 0;
    const FinderRow rows[] = {
        {"a climb drifting in a west wind", 300, 2.0, 3.0, 1000, 1000, {}, 1, 270},
        {"no wind under 1 m/s of drift", 300, 2.0, 0.8, 1000, 1000, {}, 1, -1},
        {"a spiral down, even without minimums", 300, -5.0, 3.0, 2500, 2500, none, 0},
        {"circling in weak lift, below the minimum climb", 400, 0.3, 0.0, 1000, 1000, {}, 0},
        {"the same, above a lower minimum", 400, 0.3, 0.0, 1000, 1000, weak, 1},
        {"a circling shorter than 45 s", 40, 3.0, 0.0, 1000, 1000, {}, 0},
        {"a gain below the minimum gain", 150, 0.6, 0.0, 1000, 1000, {}, 0},
        {"traced back to the ground along the drift", 300, 2.0, 3.0, 1000, 400, traceBack, 1, 270, -900},
        {"traced back at most 3 km", 300, 2.0, 3.0, 3000, 0, traceBack, 1, 270, -3000},
    };
    for (const FinderRow& row : rows) {
        SCOPED_TRACE(row.name);
        Track t;
        double centre = 0;
        t.Glide(60, row.lowestAltitude).Glide(60, row.startAltitude).Circle(row.circleSeconds, row.climb, row.drift, &centre).Glide(60, 500);
        std::vector<Climb> climbs;
        AppendClimbs(FindCirclings(t.log), 0, row.settings, &climbs);
        ASSERT_EQ(static_cast<int>(climbs.size()), row.climbs);
        if (row.climbs == 0) continue;
        const Climb& c = climbs[0];
        const double expectedTop = row.startAltitude + row.climb * (row.circleSeconds - 1);
        EXPECT_NEAR(c.top, expectedTop, 1.0);
        EXPECT_NEAR(c.gain, row.climb * row.circleSeconds, 0.1 * row.climb * row.circleSeconds);
        EXPECT_NEAR(c.windDir, row.windDir, row.windDir < 0 ? 0 : 1);
        EXPECT_NEAR((c.lon - 6.0) / EastPerMetre, centre + row.shiftEast, 60.0);
        EXPECT_NEAR((c.lat - 51.0) / NorthPerMetre, -80.0, 60.0);
    }
}

Climb At(double east, double north, int32_t gain, int flight, int windDir = -1, int32_t top = 1000) {
    return {51.0 + north * NorthPerMetre, 6.0 + east * EastPerMetre, top, windDir, gain, 36000, flight};
}

struct MergeRow {
    const char* name;
    std::vector<Climb> climbs;
    double within;
    int seenIn;
    struct Thermal {
        double east, north;  // metres
        int32_t top;
        int windDir;
    };
    std::vector<Thermal> expected;
};

TEST(ClimbsTest, MergesClimbsIntoThermals) {
    const MergeRow rows[] = {
        {"merge 0 keeps every climb", {At(0, 0, 500, 0), At(0, 0, 400, 1)}, 0, 1, {{0, 0, 1000, -1}, {0, 0, 1000, -1}}},
        {"within includes the limit", {At(0, 0, 500, 0), At(299.99, 0, 400, 1), At(0, 300.01, 300, 1)}, 300, 1,
         {{149.995, 0, 1000, -1}, {0, 300.01, 1000, -1}}},
        {"highest gain first; a climb joins the group whose first climb is near",
         {At(500, 0, 300, 0, -1, 1500), At(250, 0, 400, 1), At(0, 0, 500, 2)}, 300, 1,
         {{125, 0, 1000, -1}, {500, 0, 1500, -1}}},
        {"seen in two flights", {At(0, 0, 500, 0), At(10, 0, 400, 0), At(5000, 0, 500, 0), At(5010, 0, 400, 1)}, 300, 2,
         {{5005, 0, 1000, -1}}},
        {"wind directions as unit vectors; the highest top", {At(0, 0, 500, 0, 350, 900), At(0, 0, 400, 1, 10, 1200), At(0, 0, 300, 2)},
         300, 1, {{0, 0, 1200, 0}}},
        {"opposite winds give none", {At(0, 0, 500, 0, 90), At(0, 0, 400, 1, 270)}, 300, 1, {{0, 0, 1000, -1}}},
    };
    for (const MergeRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<FoundThermal> found = MergeClimbs(row.climbs, row.within, row.seenIn);
        ASSERT_EQ(found.size(), row.expected.size());
        for (size_t i = 0; i < found.size(); ++i) {
            EXPECT_NEAR((found[i].lon - 6.0) / EastPerMetre, row.expected[i].east, 0.01);
            EXPECT_NEAR((found[i].lat - 51.0) / NorthPerMetre, row.expected[i].north, 0.01);
            EXPECT_EQ(found[i].top, row.expected[i].top);
            EXPECT_EQ(found[i].windDir, row.expected[i].windDir);
        }
    }
}

// The 23 flights of one competition day: every one climbs several times, and the day's thermals
// are fewer than its climbs once they are merged.
TEST(ClimbsTest, OneCompetitionDay) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(IGC_DIR) + "/one-day")) paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    ASSERT_EQ(paths.size(), 23u);
    std::vector<Climb> climbs;
    int flight = 0;
    for (const std::string& path : paths) {
        FlightLog log;
        ASSERT_EQ(LoadFlightLog(path.c_str(), &log), FlightLogResult::Loaded) << path;
        const size_t before = climbs.size();
        AppendClimbs(FindCirclings(log), flight++, ClimbSettings{}, &climbs);
        const int found = static_cast<int>(climbs.size() - before);
        std::printf("%-32s %5zu fixes %3d climbs\n", std::filesystem::path(path).filename().string().c_str(), log.fixes.size(), found);
        EXPECT_GE(found, 3) << path;
        EXPECT_LE(found, 40) << path;
    }
    const size_t separate = MergeClimbs(climbs, 0, 1).size(), merged = MergeClimbs(climbs, 300, 1).size(),
                 shared = MergeClimbs(climbs, 300, 2).size();
    std::printf("%zu climbs: %zu thermals with merge 0, %zu with the defaults, %zu seen in two flights\n", climbs.size(), separate,
                merged, shared);
    EXPECT_EQ(separate, climbs.size());
    EXPECT_LT(merged, climbs.size() * 9 / 10);
    EXPECT_GT(merged, climbs.size() / 3);
    EXPECT_GE(shared, 5u);
}

}  // namespace
