// Project file: exact bytes, round trip, odd and hostile input, saves that must not lose the
// previous file.
#include "TestFiles.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "model/SafeFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

std::string Line(const Thermal& t) {
    char text[200];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", t.lat, t.lon,
                  t.type, t.bottom, t.top, t.radius, t.windDir, t.factor, t.cloudOn, t.cloudParam,
                  t.cloudCeiling, t.cloudSize, t.cloudType);
    return text;
}

const std::string header = "a.bmp\r\n53:30.000N\r\n51:15.500N\r\n003:20.000E\r\n007:10.000E\r\n";

TEST(ProjectFile, FullTableWritesExactBytesAndReadsBack) {
    TempFolder folder;
    ResetProject();
    std::strcpy(backdropName, "a.bmp");
    std::strcpy(areaTopText, "53:30.000N");
    std::strcpy(areaBottomText, "51:15.500N");
    std::strcpy(areaLeftText, "003:20.000E");
    std::strcpy(areaRightText, "007:10.000E");
    for (int32_t i = 0; i < MaxThermals; ++i) {
        int32_t s = (i % 2 ? -1 : 1) * i * 65537;
        thermals[i] = {s, -s, i % 4 + 1, i, s / 3, i * 7, i % 360, -i, uint8_t(i % 2), s / 5,
                       i * 3, -i * 11, i % 20 + 1};
    }
    thermals[0] = {5250833, INT32_MIN, 1, 0, INT32_MAX, 500, 270, 0, 1, 0, 1500, 1000, 1};
    thermalCount = MaxThermals;
    ASSERT_TRUE(WriteProject(folder.File("p.prj").c_str()));
    const std::string start =
        header + "5250833,-2147483648,1,0,2147483647,500,270,0,1,0,1500,1000,1\r\n-65537,";
    EXPECT_EQ(ReadBytes(folder.File("p.prj")).substr(0, start.size()), start);

    static Thermal saved[MaxThermals];
    std::memcpy(saved, thermals, sizeof saved);
    ResetProject();
    ASSERT_TRUE(ReadProject(folder.File("p.prj").c_str()));
    EXPECT_STREQ(areaRightText, "007:10.000E");
    ASSERT_EQ(thermalCount, MaxThermals);
    for (int32_t i = 0; i < MaxThermals; ++i) ASSERT_EQ(Line(thermals[i]), Line(saved[i])) << i;
}

TEST(ProjectFile, ReadsOddFilesAsDefined) {
    struct Case {
        std::string bytes; bool ok; int32_t count; std::string name; const char* bottom;
        const char* first;
    };
    const std::string lf = "b.bmp\n53:30.000N\n51:11.000N\n003:20.000E\n007:10.000E\n";
    const std::string zeros(5000, '0'), x511(511, 'x');
    std::string many = lf;
    for (int i = 0; i < 40000; ++i) many += std::to_string(i) + ",1,4\n";
    const Case cases[] = {
        {header + "1,2,3,4,5,6,7,8,1,10,11,12,-13\r\n", true, 1, "a.bmp", "51:15.500N",
         "1,2,3,4,5,6,7,8,1,10,11,12,-13"},
        {lf + "1,2,3,4,5,6,7,8,1,10,11,12,-13\n", true, 1, "b.bmp", "51:11.000N",
         "1,2,3,4,5,6,7,8,1,10,11,12,-13"},
        {lf + "1,2,3", true, 1, "b.bmp", "51:11.000N", "1,2,3,0,0,0,0,0,0,0,0,0,0"},
        {lf + "0,0,0,0,0,0,0,0,5,0,0,0,0\n", true, 1, "b.bmp", "51:11.000N",
         "0,0,0,0,0,0,0,0,1,0,0,0,0"},
        {lf + "\n", true, 1, "b.bmp", "51:11.000N", "0,0,0,0,0,0,0,0,0,0,0,0,0"},
        {many, true, MaxThermals, "b.bmp", "51:11.000N", "0,1,4,0,0,0,0,0,0,0,0,0,0"},
        // Lines the file lacks keep what was there before the read.
        {"c.bmp\r\n52:00.000N", true, 0, "c.bmp", "90:00.000S", "99,0,0,0,0,0,0,0,0,0,0,0,0"},
        {"", true, 0, "kept.bmp", "90:00.000S", "99,0,0,0,0,0,0,0,0,0,0,0,0"},
        // The text of a line ends at its first NUL or CR.
        {std::string("c.bmp\0junk\n", 11) + lf.substr(6) + std::string("7\0,8\r9,1\n", 9), true,
         1, "c.bmp", "51:11.000N", "7,0,0,0,0,0,0,0,0,0,0,0,0"},
        {lf + "-" + zeros + "42," + zeros + ",99999999999,-99999999999,,x,+7, 8", true, 1,
         "b.bmp", "51:11.000N", "-42,0,2147483647,-2147483648,0,0,7,8,0,0,0,0,0"},
        {x511 + "\n" + lf.substr(6), true, 0, x511, "51:11.000N", "99,0,0,0,0,0,0,0,0,0,0,0,0"},
        // A name or bound that does not fit its storage refuses the file and changes nothing.
        {x511 + "x\n" + lf.substr(6) + "1,2\n", false, 1, "kept.bmp", "90:00.000S",
         "99,0,0,0,0,0,0,0,0,0,0,0,0"},
        {"b.bmp\n" + std::string(32, 'E') + "\n1,2\n", false, 1, "kept.bmp", "90:00.000S",
         "99,0,0,0,0,0,0,0,0,0,0,0,0"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        WriteBytes(folder.File("odd.prj"), c.bytes);
        ResetProject();
        std::strcpy(backdropName, "kept.bmp");
        thermals[0].lat = 99;
        thermalCount = 1;
        EXPECT_EQ(ReadProject(folder.File("odd.prj").c_str()), c.ok) << c.first;
        EXPECT_EQ(thermalCount, c.count) << c.first;
        EXPECT_EQ(backdropName, c.name) << c.first;
        EXPECT_STREQ(areaBottomText, c.bottom) << c.first;
        EXPECT_EQ(Line(thermals[0]), c.first);
    }
    EXPECT_FALSE(ReadProject(folder.File("missing.prj").c_str()));
}

TEST(ProjectFile, FailedSaveKeepsThePreviousFile) {
    TempFolder folder;
    const std::string target = folder.File("p.prj");
    std::filesystem::create_directory(folder.File("folder.prj"));
    struct Case { std::string path; long long faultAfter; };
    const Case cases[] = {
        {folder.File("none") + "/p.prj", -1}, {folder.File("folder.prj"), -1}, {target, 40},
        {target, 0},
    };
    ResetProject();
    thermalCount = 100;
    for (const Case& c : cases) {
        WriteBytes(target, "previous");
        writeFaultAfterBytes = c.faultAfter;
        EXPECT_FALSE(WriteProject(c.path.c_str())) << c.path << " " << c.faultAfter;
        writeFaultAfterBytes = -1;
        EXPECT_EQ(ReadBytes(target), "previous");
        EXPECT_EQ(folder.EntryCount(), 2) << "a temporary file was left behind";
    }
    EXPECT_TRUE(WriteProject(target.c_str()));
    EXPECT_EQ(ReadBytes(target).size(), 52u + 100 * 27);
}

}  // namespace
