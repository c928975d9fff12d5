// The Setup rows' check: error numbers and precedence, normalised rows, composed bound texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/Project.h"
#include "setup/SetupCheck.h"

namespace {

struct RowTexts { const char *deg, *min, *thou, *hemi; };

std::string Bounds() {
    return std::string(areaTopText) + " " + areaBottomText + " " + areaLeftText + " " +
           areaRightText;
}

class SetupCheckTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProject(); }
    void TearDown() override { ResetProject(); }
};

TEST_F(SetupCheckTest, RulesAndTexts) {
    const RowTexts none = {"", "", "", ""};
    // Rows left {} stay as after New.
    const struct { RowTexts rows[4]; int error; const char* bounds; } cases[] = {
        {{}, 0, "89:00.000N 89:00.000S 179:00.000W 179:00.000E"},
        {{{"52", "30", "500", "n"}}, 0, "52:30.500N 89:00.000S 179:00.000W 179:00.000E"},
        {{{"5", "5", "7", "N"}, {"1", "0", "1234", "s"}}, 0,
         "05:05.007N 01:00.1234S 179:00.000W 179:00.000E"},
        {{{"", "", "", "n"}, none, {"", "", "", "w"}, none}, 1,
         "00:00.000N 00:00.000 000:00.000W 000:00.000"},
        {{{"0", "0", "0", "X"}, {"", "", "", "S"}}, 2,
         "00:00.000X 00:00.000S 179:00.000W 179:00.000E"},
        {{{}, {}, {"0", "", "", "W"}, {"", "0", "0", "E"}}, 3,
         "89:00.000N 89:00.000S 000:00.000W 000:00.000E"},
        {{{"52", "0", "0", "E"}, {}, {}, {"6", "0", "0", "N"}}, 7,
         "52:00.000E 89:00.000S 179:00.000W 006:00.000N"},
        {{{"90", "0", "0", "N"}, {}, {}, {"6", "0", "0", "x"}}, 7,  // letters before ranges
         "90:00.000N 89:00.000S 179:00.000W 006:00.000X"},
        {{{"90", "0", "0", "N"}}, 8, "90:00.000N 89:00.000S 179:00.000W 179:00.000E"},
        {{{}, {"10", "60", "0", "N"}}, 9, "89:00.000N 10:60.000N 179:00.000W 179:00.000E"},
        {{{}, {}, {"180", "0", "0", "E"}}, 10, "89:00.000N 89:00.000S 180:00.000E 179:00.000E"},
        {{{}, {}, {}, {"-5", "-99", "0", "W"}}, 11,
         "89:00.000N 89:00.000S 179:00.000W -05:-99.000W"},
    };
    for (const auto& c : cases) {
        ResetProject();
        for (int row = 0; row < 4; ++row) {
            const RowTexts& t = c.rows[row];
            if (t.deg == nullptr) continue;
            SetupRow& r = setupRows[row];
            CopyText(r.degText, 4, t.deg), CopyText(r.minText, 4, t.min);
            CopyText(r.thouText, 5, t.thou), CopyText(r.hemiText, 2, t.hemi);
        }
        EXPECT_EQ(CheckSetupRows(), c.error) << c.bounds;
        EXPECT_EQ(Bounds(), c.bounds);
    }
    EXPECT_STREQ(setupRows[3].minText, "-99");

    std::memset(setupRows[0].thouText, '9', 5);  // a row without its terminator is cut
    CheckSetupRows();
    EXPECT_STREQ(setupRows[0].thouText, "9999");

    const struct { int number; const char* text; } texts[] = {
        {1, "No entries at all..."}, {2, "Both Top & Bottom are zero..."},
        {7, "Right wrong direction..."}, {8, "Top value out of range..."},
        {10, "Left value out of range..."}, {11, "Right value out of range..."}, {12, ""}};
    for (const auto& c : texts) EXPECT_STREQ(SetupErrorText(c.number), c.text);
}

}  // namespace
