// Project file: exact bytes and round trip of a full table (odd and hostile files are in the
// catalogue; saves that fail, keeping the previous file, are the command rows').
#include "core/TestData.h"
#include "model/Project.h"
#include "model/ProjectFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

using testdata::ReadBytes;
using testdata::ThermalLine;

const std::string header = "a.bmp\r\n53:30.000N\r\n51:15.500N\r\n003:20.000E\r\n007:10.000E\r\n";

TEST(ProjectFile, FullTableWritesExactBytesAndReadsBack) {
    testdata::Scratch folder;
    ResetProject();
    char* texts[] = {backdropName, areaTopText, areaBottomText, areaLeftText, areaRightText};
    for (int k = 0; k < 5; ++k) std::strcpy(texts[k], testdata::SplitLines(header)[k].c_str());
    for (int32_t i = 0; i < MaxThermals; ++i) {
        int32_t s = (i % 2 ? -1 : 1) * i * 65537;
        thermals[i] = {s, -s, i % 4 + 1, i, s / 3, i * 7, i % 360, -i, uint8_t(i % 2), s / 5, i * 3, -i * 11, i % 20 + 1};
    }
    thermals[0] = {5250833, INT32_MIN, 1, 0, INT32_MAX, 500, 270, 0, 1, 0, 1500, 1000, 1};
    thermalCount = MaxThermals;
    ASSERT_TRUE(WriteProject(folder.File("p.prj").c_str()));
    const std::string start = header + "5250833,-2147483648,1,0,2147483647,500,270,0,1,0,1500,1000,1\r\n-65537,";
    EXPECT_EQ(ReadBytes(folder.File("p.prj")).substr(0, start.size()), start);

    static Thermal saved[MaxThermals];
    std::memcpy(saved, thermals, sizeof saved);
    ResetProject();
    ASSERT_TRUE(ReadProject(folder.File("p.prj").c_str()));
    EXPECT_STREQ(areaRightText, "007:10.000E");
    ASSERT_EQ(thermalCount, MaxThermals);
    for (int32_t i = 0; i < MaxThermals; ++i) ASSERT_EQ(ThermalLine(thermals[i]), ThermalLine(saved[i])) << i;
}

}  // namespace
