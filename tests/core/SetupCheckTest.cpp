// The Setup rows' check: error numbers and precedence, normalised rows, composed bound texts.
#include <gtest/gtest.h>

#include <cstring>

#include "model/Project.h"
#include "setup/SetupCheck.h"

namespace {

struct RowTexts {
    const char *deg, *min, *thou, *hemi;
};

void SetRow(int row, const RowTexts& t) {
    CopyText(setupRows[row].degText, sizeof setupRows[row].degText, t.deg);
    CopyText(setupRows[row].minText, sizeof setupRows[row].minText, t.min);
    CopyText(setupRows[row].thouText, sizeof setupRows[row].thouText, t.thou);
    CopyText(setupRows[row].hemiText, sizeof setupRows[row].hemiText, t.hemi);
}

const RowTexts Empty = {"", "", "", ""};

class SetupCheckTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProject(); }
    void TearDown() override { ResetProject(); }
};

TEST_F(SetupCheckTest, RulesAndTexts) {
    const struct {
        const char* what;
        RowTexts rows[4];  // null deg: the row as after New
        int error;
        const char* texts[4];
    } cases[] = {
        {"after New", {}, 0, {"89:00.000N", "89:00.000S", "179:00.000W", "179:00.000E"}},
        {"lower-case letter", {{"52", "30", "500", "n"}}, 0,
         {"52:30.500N", "89:00.000S", "179:00.000W", "179:00.000E"}},
        {"short and long parts", {{"5", "5", "7", "N"}, {"1", "0", "1234", "s"}}, 0,
         {"05:05.007N", "01:00.1234S", "179:00.000W", "179:00.000E"}},
        {"nothing entered", {{"", "", "", "n"}, Empty, {"", "", "", "w"}, Empty}, 1,
         {"00:00.000N", "00:00.000", "000:00.000W", "000:00.000"}},
        {"top and bottom zero, wrong letter too", {{"0", "0", "0", "X"}, {"", "", "", "S"}}, 2,
         {"00:00.000X", "00:00.000S", "179:00.000W", "179:00.000E"}},
        {"left and right zero", {{}, {}, {"0", "", "", "W"}, {"", "0", "0", "E"}}, 3,
         {"89:00.000N", "89:00.000S", "000:00.000W", "000:00.000E"}},
        {"top and right letters wrong", {{"52", "0", "0", "E"}, {}, {}, {"6", "0", "0", "N"}}, 7,
         {"52:00.000E", "89:00.000S", "179:00.000W", "006:00.000N"}},
        {"letter before range", {{"90", "0", "0", "N"}, {}, {}, {"6", "0", "0", "x"}}, 7,
         {"90:00.000N", "89:00.000S", "179:00.000W", "006:00.000X"}},
        {"top 90 degrees", {{"90", "0", "0", "N"}}, 8,
         {"90:00.000N", "89:00.000S", "179:00.000W", "179:00.000E"}},
        {"bottom 60 minutes", {{}, {"10", "60", "0", "N"}}, 9,
         {"89:00.000N", "10:60.000N", "179:00.000W", "179:00.000E"}},
        {"left 180 degrees", {{}, {}, {"180", "0", "0", "E"}}, 10,
         {"89:00.000N", "89:00.000S", "180:00.000E", "179:00.000E"}},
        {"negative right", {{}, {}, {}, {"-5", "0", "0", "W"}}, 11,
         {"89:00.000N", "89:00.000S", "179:00.000W", "-05:00.000W"}},
    };
    for (const auto& c : cases) {
        ResetProject();
        for (int row = 0; row < 4; ++row) {
            if (c.rows[row].deg != nullptr) SetRow(row, c.rows[row]);
        }
        EXPECT_EQ(CheckSetupRows(), c.error) << c.what;
        EXPECT_STREQ(areaTopText, c.texts[0]) << c.what;
        EXPECT_STREQ(areaBottomText, c.texts[1]) << c.what;
        EXPECT_STREQ(areaLeftText, c.texts[2]) << c.what;
        EXPECT_STREQ(areaRightText, c.texts[3]) << c.what;
    }
}

TEST_F(SetupCheckTest, RowsAreRewrittenWithinTheirSize) {
    SetRow(0, {"52", "5", "7", "n"});
    CopyText(setupRows[2].degText, 4, "-99");
    CopyText(setupRows[2].minText, 4, "-99");
    // A row that lost its terminator is cut, not overrun.
    std::memset(setupRows[3].thouText, '9', sizeof setupRows[3].thouText);
    CheckSetupRows();
    EXPECT_STREQ(setupRows[0].minText, "05");
    EXPECT_STREQ(setupRows[0].thouText, "007");
    EXPECT_STREQ(setupRows[0].hemiText, "N");
    EXPECT_STREQ(setupRows[2].degText, "-99");
    EXPECT_STREQ(setupRows[2].minText, "-99");
    EXPECT_STREQ(setupRows[3].thouText, "9999");
    EXPECT_STREQ(areaLeftText, "-99:-99.000W");
}

TEST_F(SetupCheckTest, ErrorTexts) {
    const struct {
        int number;
        const char* text;
    } cases[] = {{1, "No entries at all..."},        {2, "Both Top & Bottom are zero..."},
                 {3, "Both Left & Right are zero..."}, {4, "Top wrong direction..."},
                 {7, "Right wrong direction..."},    {8, "Top value out of range..."},
                 {10, "Left value out of range..."}, {11, "Right value out of range..."},
                 {0, ""},                            {12, ""}};
    for (const auto& c : cases) EXPECT_STREQ(SetupErrorText(c.number), c.text) << c.number;
}

}  // namespace
