// SCASM sources: exact lines, the latitude bands and their question, refused tables.
#include "core/TestData.h"
#include "model/Project.h"
#include "model/SafeFile.h"
#include "scenery/ScaWriter.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

struct ScriptedQuestions : SceneryQuestions {
    explicit ScriptedQuestions(SplitAnswer a) : answer(a) {}
    SplitAnswer AskSplit() override { ++asked; return answer; }
    void TellTooWide() override { ++toldTooWide; }
    void TellBadThermal(const char* text) override { badThermal = text; }
    SplitAnswer answer;
    int asked = 0, toldTooWide = 0;
    std::string badThermal;
};

const Thermal example{5212345, 512345, 1, 0, 1500, 500, 270, 0, 1, 0, 1500, 1000, 1};

// Writes the table as project "p" in a fresh folder; returns how many band files exist.
int Write(std::initializer_list<Thermal> table, ScriptedQuestions& questions, bool& ok, const testdata::Scratch& folder) {
    ResetProject();
    for (const Thermal& t : table) thermals[thermalCount++] = t;
    ok = WriteScaFiles(questions, folder.File("p").c_str());
    int files = 0;
    for (const char* suffix : sceneryFileSuffixes)
        files += std::filesystem::exists(folder.File(std::string("p") + suffix + ".sca"));
    return files;
}

TEST(ScaWriter, WritesExactLines) {
    const Thermal cloudless{5212345, 512345, 4, 0, 1500, 500, 270, 0, 0, 0, 1500, 1000, 1};
    const Thermal southWest{-2000000, -4550000, 3, 0, 900, 300, 0, 0, 1, 0, 900, 600, 20};
    const std::string range = "Header( 1 52.32345 51.92345 5.32345 4.92345 )\r\n"
                              "LatRange( 51.92345 52.32345 )\r\n\r\n";
    const std::pair<Thermal, std::string> cases[] = {
        {example, range + "Macro( cloud_01.scm 52.12345 5.12345 0 1500 1000 cld1.bmp )\r\n\r\n"
                          "Macro( lift_01.scm 52.12345 5.12345 0 1500 500 270 0 )\r\n"},
        {cloudless, range + "\r\nMacro( lift_04.scm 52.12345 5.12345 0 1500 500 )\r\n"},
        {southWest, "Header( 1 -19.80000 -20.20000 -45.30000 -45.70000 )\r\n"
                    "LatRange( -20.20000 -19.80000 )\r\n\r\n"
                    "Macro( cloud_01.scm -20.00000 -45.50000 0 900 600 cldcn10.bmp )\r\n\r\n"
                    "Macro( lift_03.scm -20.00000 -45.50000 0 900 300 0 0 )\r\n"},
    };
    for (const auto& c : cases) {
        testdata::Scratch folder;
        ScriptedQuestions questions(SplitAnswer::Cancel);
        bool ok;
        EXPECT_EQ(Write({c.first}, questions, ok, folder), 1);
        EXPECT_TRUE(ok);
        EXPECT_EQ(folder.Read("p_a.sca"), c.second);
    }
}

TEST(ScaWriter, SplitsIntoBandsByTheAnswer) {
    const struct { int32_t span; SplitAnswer answer; bool asked, ok; int files, filesWithMiddle; bool tooWide; } cases[] = {
        {200000, SplitAnswer::Yes, false, true, 1, 1, false},
        {250000, SplitAnswer::Yes, true, true, 2, 2, false},  // the middle is a band boundary
        {250000, SplitAnswer::No, true, true, 1, 1, false},
        {250000, SplitAnswer::Cancel, true, false, 0, 0, false},
        {400000, SplitAnswer::Yes, true, true, 3, 1, false},
        {999999, SplitAnswer::Yes, true, true, 5, 1, false},
        {1000000, SplitAnswer::Yes, true, true, 5, 1, false},
        {1200000, SplitAnswer::Yes, true, false, 0, 0, true},
        {1200000, SplitAnswer::No, true, true, 1, 1, false},
    };
    const int32_t south = -100000;
    for (const auto& c : cases) {
        testdata::Scratch folder;
        Thermal low = example, middle = example, high = example;
        low.lat = south, middle.lat = south + c.span / 2, middle.type = 4, high.lat = south + c.span;
        ScriptedQuestions questions(c.answer);
        bool ok;
        const std::string name = std::to_string(c.span) + "/" + std::to_string(int(c.answer));
        EXPECT_EQ(Write({high, middle, low}, questions, ok, folder), c.files) << name;
        EXPECT_EQ(ok, c.ok) << name;
        EXPECT_EQ(questions.asked, c.asked ? 1 : 0) << name;
        EXPECT_EQ(questions.toldTooWide, c.tooWide ? 1 : 0) << name;
        int withMiddle = 0;
        for (int k = 0; k < c.files; ++k)
            withMiddle += folder.Read(std::string("p") + sceneryFileSuffixes[k] + ".sca").find("lift_04") != std::string::npos;
        EXPECT_EQ(withMiddle, c.filesWithMiddle) << name;
        if (!ok) continue;
        EXPECT_EQ(sceneryFileCount, c.files) << name;
        // The bands join without gaps from the southernmost to the northernmost thermal.
        EXPECT_EQ(latitudeBands[0][1], south) << name;
        EXPECT_EQ(latitudeBands[c.files - 1][0], south + c.span) << name;
        for (int k = 1; k < c.files; ++k) EXPECT_EQ(latitudeBands[k][1], latitudeBands[k - 1][0]);
    }
}

// Odd values in the second of three thermals: unnamed types are refused with nothing written,
// other values are written as they are.
TEST(ScaWriter, RefusesUnnamedTypesAndWritesOtherValuesAsTheyAre) {
    enum Field { Type, CloudType, Radius, Lat, Lon };
    const std::string lift = "Macro( lift_01.scm 52.12345 5.12345 0 1500 ";
    const struct {
        Field field; int32_t value; uint8_t cloudOn; SplitAnswer answer; long long fault;
        const char* told; std::string text; bool tooWide;
    } cases[] = {
        {Type, 0, 0, SplitAnswer::No, -1, "Thermal 2 has lift type 0; lift types are 1 to 4.", "", false},
        {Type, 5, 1, SplitAnswer::No, -1, "Thermal 2 has lift type 5; lift types are 1 to 4.", "", false},
        {CloudType, 21, 1, SplitAnswer::No, -1, "Thermal 2 has cloud type 21; cloud types are 1 to 20.", "", false},
        {CloudType, -3, 255, SplitAnswer::No, -1, "Thermal 2 has cloud type -3; cloud types are 1 to 20.", "", false},
        // A cloudless thermal's cloud type is never used; a failed write leaves no file.
        {CloudType, 99, 0, SplitAnswer::No, 10, "", "", false},
        {CloudType, INT32_MIN, 0, SplitAnswer::No, -1, "", ")\r\n\r\nMacro( lift_01", false},
        {Radius, -1, 1, SplitAnswer::No, -1, "", lift + "-1 270 0 )\r\n", false},
        {Radius, INT32_MAX, 1, SplitAnswer::No, -1, "", lift + "2147483647 270 0 )\r\n", false},
        {Lat, INT32_MAX, 1, SplitAnswer::No, -1, "", "Header( 1 21475.03647 51.92345 5.32345 4.92345 )\r\n", false},
        {Lon, INT32_MIN, 1, SplitAnswer::No, -1, "", "Header( 1 52.32345 51.92345 5.32345 -21475.03648 )\r\n", false},
        {Lat, INT32_MIN, 1, SplitAnswer::Yes, -1, "", "", true},
    };
    for (const auto& c : cases) {
        testdata::Scratch folder;
        Thermal odd = example;
        int32_t* fields[] = {&odd.type, &odd.cloudType, &odd.radius, &odd.lat, &odd.lon};
        *fields[c.field] = c.value;
        odd.cloudOn = c.cloudOn;
        ScriptedQuestions questions(c.answer);
        bool ok;
        writeFaultAfterBytes = c.fault;
        const int files = Write({example, odd, example}, questions, ok, folder);
        writeFaultAfterBytes = -1;
        const bool written = !*c.told && !c.tooWide && c.fault < 0;
        EXPECT_EQ(std::make_tuple(ok, questions.badThermal, questions.toldTooWide, folder.Names().size(), files),
                  std::make_tuple(written, std::string(c.told), c.tooWide ? 1 : 0, written ? size_t{1} : 0, written ? 1 : 0)) << c.value;
        if (written) { EXPECT_NE(folder.Read("p_a.sca").find(c.text), std::string::npos) << c.value; }
    }
}

}  // namespace
