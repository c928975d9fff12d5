// Reading IGC flight logs: each row a case of the B records, the date, the extensions and the
// clock, then real logs with those cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TestData.h"
#include "thermals/FlightLog.h"

namespace {

// A B record at 51:00.000N 6:00.000E unless told otherwise, with pressure and GNSS altitudes.
std::string B(const char* hhmmss, int pressure = 1000, int gnss = 1100, const char* lat = "5100000N",
              const char* lon = "00600000E", char validity = 'A', const char* tail = "") {
    char line[128];
    std::snprintf(line, sizeof line, "B%s%s%s%c%05d%05d%s\r\n", hhmmss, lat, lon, validity, pressure, gnss, tail);
    return line;
}

struct Row {
    const char* name;
    std::string text;
    std::vector<int32_t> times;  // of the kept fixes
    std::vector<int32_t> altitudes = {};
    int invalid = 0, bad = 0;
    double lat = 51.0, lon = 6.0;  // of the first kept fix
    int day = 0, month = 0, year = 0;
};

TEST(FlightLogTest, ReadsRecordsDatesAndClock) {
    const Row rows[] = {
        {"CR LF, LF and a lone CR end lines", "B1000005100000N00600000EA0100001100\nB1000015100000N00600000EA0100001100\r"
                                              "B1000025100000N00600000EA0100001100",
         {36000, 36001, 36002}},
        {"HFDTE date", "HFDTE150717\r\n" + B("100000"), {36000}, {}, 0, 0, 51.0, 6.0, 15, 7, 2017},
        {"HFDTEDATE: with blanks and a number after; the first date counts",
         "HFDTEDATE:  030418,01\r\nHFDTE010101\r\n" + B("100000"), {36000}, {}, 0, 0, 51.0, 6.0, 3, 4, 2018},
        {"year 80 is 1980", "HFDTE010180\r\n" + B("100000"), {36000}, {}, 0, 0, 51.0, 6.0, 1, 1, 1980},
        {"south and west, minutes as decimals", B("100000", 1000, 1100, "3330500S", "15145250W"), {36000}, {}, 0, 0,
         -33.508333333333333, -151.75416666666667},
        {"LAD and LOD add decimals; other extensions unchecked",
         "I033636LAD3737LOD3840FXA\r\n" + B("100000", 1000, 1100, "5100000N", "00600000E", 'A', "69xyz"), {36000}, {},
         0, 0, 51.0 + 0.0006 / 60, 6.0 + 0.0009 / 60},
        {"LAD that is not a digit spoils the record", "I013636LAD\r\n" + B("100000", 1000, 1100, "5100000N", "00600000E", 'A', "x"),
         {}, {}, 0, 1},
        {"validity V skipped and counted", B("100000") + B("100001", 1000, 1100, "5100000N", "00600000E", 'V'), {36000}, {}, 1},
        {"not well-formed: short, letter, 60 minutes, past 90 and 180, bad hemisphere and validity, 24 h",
         "B1000005100000N00600000EA010000110\r\n" + B("1000a1") + B("100002", 1, 1, "5160000N") +
             B("100003", 1, 1, "9000001N") + B("100004", 1, 1, "5100000N", "18000001E") +
             B("100005", 1, 1, "5100000X") + B("100006", 1, 1, "5100000N", "00600000E", 'X') + B("240000") +
             B("100060") + B("100007", 1, 1, "9000000S", "18000000W"),
         {36007}, {1}, 0, 9, -90.0, -180.0},
        {"negative altitudes", B("100000", -12, -5), {36000}, {-12}},
        {"no pressure anywhere: GNSS altitude", B("100000", 0, 1100) + B("100001", 0, 1101), {36000, 36001}, {1100, 1101}},
        {"one pressure altitude: pressure for all", B("100000", 0, 1100) + B("100001", 5, 1101), {36000, 36001}, {0, 5}},
        {"across midnight UTC", B("235959") + B("000001") + B("000002"), {86399, 86401, 86402}},
        {"a fix whose clock jumped ahead", B("100000") + B("100500") + B("100001") + B("100002"), {36000, 36001, 36002}},
        {"a time not later than the last kept", B("100000") + B("100000") + B("095959") + B("100001"), {36000, 36001}},
        {"other records ignored", "AXXX\r\nC5100000N00600000E\r\nLB100000\r\nG\r\n" + B("100000"), {36000}},
        {"no B records", "HFDTE150717\r\n", {}, {}, 0, 0, 0, 0, 15, 7, 2017},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FlightLog log;
        ParseFlightLog(row.text.data(), row.text.size(), &log);
        std::vector<int32_t> times, altitudes;
        for (const FlightFix& f : log.fixes) {
            times.push_back(f.time);
            altitudes.push_back(f.altitude);
        }
        EXPECT_EQ(times, row.times);
        if (!row.altitudes.empty()) {
            EXPECT_EQ(altitudes, row.altitudes);
        }
        EXPECT_EQ(log.invalidFixes, row.invalid);
        EXPECT_EQ(log.badRecords, row.bad);
        EXPECT_EQ(std::vector<int>({log.day, log.month, log.year}), std::vector<int>({row.day, row.month, row.year}));
        if (!log.fixes.empty()) {
            EXPECT_NEAR(log.fixes[0].lat, row.lat, 1e-12);
            EXPECT_NEAR(log.fixes[0].lon, row.lon, 1e-12);
        }
    }
}

// The logs with these cases, read from their files: a refusal's reason, the clock and the altitude kind.
TEST(FlightLogTest, ReadsRealLogs) {
    struct File {
        const char* name;
        FlightLogResult result;
        bool pressure;
        int day, month, year;
    };
    const File files[] = {
        {"edge/new_zealand.igc", FlightLogResult::Loaded, true, 6, 11, 2009},
        {"edge/xctrack-2022-04-07.igc", FlightLogResult::Loaded, false, 7, 4, 2022},
        {"edge/new_date_format.igc", FlightLogResult::Loaded, true, 3, 4, 2018},
        {"edge/lad_lod_extensions.igc", FlightLogResult::Loaded, false, 20, 2, 2023},
        {"edge/no_such_file.igc", FlightLogResult::CannotRead, false, 0, 0, 0},
        {"NOTICE.md", FlightLogResult::NoFixes, false, 0, 0, 0},
    };
    for (const File& f : files) {
        SCOPED_TRACE(f.name);
        FlightLog log;
        EXPECT_EQ(LoadFlightLog((std::string(IGC_DIR) + "/" + f.name).c_str(), &log), f.result);
        EXPECT_EQ(log.pressureAltitude, f.pressure);
        EXPECT_EQ(std::vector<int>({log.day, log.month, log.year}), std::vector<int>({f.day, f.month, f.year}));
        for (size_t i = 1; i < log.fixes.size(); ++i) ASSERT_GT(log.fixes[i].time, log.fixes[i - 1].time);
        if (f.day == 6) {
            EXPECT_GT(log.fixes.back().time, 86400);  // the New Zealand flight passes midnight UTC
        }
    }
}

// The size is judged before reading: one byte past 64 MB is refused, 64 MB is read, and a file
// past 2 GB, whose size a 32-bit long cannot hold, is still told as too large.
TEST(FlightLogTest, RefusesLogsLargerThan64MB) {
    testdata::Scratch folder;
    for (const auto& [extra, result] : {std::pair{int64_t{1}, FlightLogResult::TooLarge}, std::pair{int64_t{0}, FlightLogResult::NoFixes},
                                        std::pair{int64_t{3} << 30, FlightLogResult::TooLarge}}) {
        folder.Write("big.igc", "HFDTE150717\r\n");
        std::filesystem::resize_file(folder.File("big.igc"), static_cast<uintmax_t>(FlightLogSizeLimit + extra));
        FlightLog log;
        EXPECT_EQ(LoadFlightLog(folder.File("big.igc").c_str(), &log), result);
        EXPECT_EQ(log.year, 0);
    }
}

}  // namespace
