// The Setup dialog's check of its bound rows: the thirteen rules, the normalised rows and the
// bound texts composed from them.
#include "setup/SetupCheck.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "model/Coordinates.h"
#include "model/Project.h"

namespace {

enum RowIndex { RowTop = 0, RowBottom = 1, RowLeft = 2, RowRight = 3 };

struct RowNumbers {
    int32_t degrees, minutes, thousandths;
    char hemisphere;
};

const char* const ErrorTexts[13] = {
    "No entries at all...",
    "Both Top & Bottom are zero...",
    "Both Left & Right are zero...",
    "Top wrong direction...",
    "Bottom wrong direction...",
    "Left wrong direction...",
    "Right wrong direction...",
    "Top value out of range...",
    "Bottom value out of range...",
    "Left value out of range...",
    "Right value out of range...",
    "Top must lie north of bottom...",
    "Right must lie east of left...",
};

template <size_t Size>
void Terminate(char (&text)[Size]) {
    text[Size - 1] = '\0';
}

RowNumbers ReadRow(SetupRow& row) {
    // The edits fill the rows with terminated texts; a row filled otherwise is cut, not overrun.
    Terminate(row.degText);
    Terminate(row.minText);
    Terminate(row.thouText);
    Terminate(row.hemiText);
    for (char* c = row.hemiText; *c != '\0'; ++c) {
        *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    }
    return {TextToInt(row.degText), TextToInt(row.minText), TextToInt(row.thouText),
            row.hemiText[0]};
}

int64_t Sum(const RowNumbers& n) {
    return int64_t{n.degrees} + n.minutes + n.thousandths;
}

bool HemisphereFits(const RowNumbers& n, int row) {
    if (row == RowTop || row == RowBottom) return n.hemisphere == 'N' || n.hemisphere == 'S';
    return n.hemisphere == 'E' || n.hemisphere == 'W';
}

// A composed bound text's number, as the area takes it.
int32_t BoundNumber(const char* boundText, char positiveLetter) {
    char compact[CompactTextSize] = "";
    CompactCoordinate(compact, boundText);
    return CompactToNumber(compact, positiveLetter);
}

bool InRange(const RowNumbers& n, int row) {
    int32_t maxDegrees = row == RowTop || row == RowBottom ? 89 : 179;
    return n.degrees >= 0 && n.degrees <= maxDegrees && n.minutes >= 0 && n.minutes <= 59;
}

}  // namespace

int CheckSetupRows() {
    RowNumbers numbers[4];
    for (int row = 0; row < 4; ++row) numbers[row] = ReadRow(setupRows[row]);

    int error = 0;
    int64_t topBottom = Sum(numbers[RowTop]) + Sum(numbers[RowBottom]);
    int64_t leftRight = Sum(numbers[RowLeft]) + Sum(numbers[RowRight]);
    if (topBottom + leftRight == 0) {
        error = 1;
    } else {
        if (topBottom == 0) error = 2;
        if (leftRight == 0) error = 3;
    }
    // Within each step the last failing row's number stands.
    if (error == 0) {
        for (int row = 0; row < 4; ++row) {
            if (!HemisphereFits(numbers[row], row)) error = 4 + row;
        }
    }
    if (error == 0) {
        for (int row = 0; row < 4; ++row) {
            if (!InRange(numbers[row], row)) error = 8 + row;
        }
    }

    // Rewritten from the numbers whatever the outcome; a number too long for its text is cut.
    for (int row = 0; row < 4; ++row) {
        SetupRow& r = setupRows[row];
        const RowNumbers& n = numbers[row];
        std::snprintf(r.degText, sizeof r.degText, row < RowLeft ? "%02d" : "%03d",
                      static_cast<int>(n.degrees));
        std::snprintf(r.minText, sizeof r.minText, "%02d", static_cast<int>(n.minutes));
        std::snprintf(r.thouText, sizeof r.thouText, "%03d", static_cast<int>(n.thousandths));
    }

    char* const boundTexts[4] = {areaTopText, areaBottomText, areaLeftText, areaRightText};
    for (int row = 0; row < 4; ++row) {
        const SetupRow& r = setupRows[row];
        std::snprintf(boundTexts[row], BoundTextSize, "%s:%s.%s%s", r.degText, r.minText,
                      r.thouText, r.hemiText);
    }
    // Only sound rows: an area without height or width would put every thermal on one line. The
    // later failure replaces the earlier.
    if (error == 0) {
        if (BoundNumber(areaTopText, 'N') <= BoundNumber(areaBottomText, 'N')) error = 12;
        if (BoundNumber(areaRightText, 'E') <= BoundNumber(areaLeftText, 'E')) error = 13;
    }
    return error;
}

const char* SetupErrorText(int number) {
    if (number < 1 || number > 13) return "";
    return ErrorTexts[number - 1];
}

namespace {

bool Inside(const AreaEdges& area, const Thermal& t) {
    return t.lat >= area.bottom && t.lat <= area.top && t.lon >= area.left && t.lon <= area.right;
}

}  // namespace

AreaEdges CurrentAreaEdges() { return {areaTop, areaBottom, areaLeft, areaRight}; }

int ThermalsOutsideArea(const AreaEdges& before, bool* movedOut) {
    const AreaEdges now = CurrentAreaEdges();
    int outside = 0;
    *movedOut = false;
    for (int32_t i = 0; i < thermalCount && i < MaxThermals; ++i) {
        if (Inside(now, thermals[i])) continue;
        ++outside;
        if (Inside(before, thermals[i])) *movedOut = true;
    }
    return outside;
}
