// Bound texts and the numeric area: compact form, text to number, number to text, RecomputeArea.
#include "model/Coordinates.h"

#include "model/Project.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The compact form of each bound from the last run that could convert it; a bound that cannot be
// converted falls back to it.
char compactTop[CompactTextSize];
char compactBottom[CompactTextSize];
char compactLeft[CompactTextSize];
char compactRight[CompactTextSize];

int32_t Saturate(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Reads a plain decimal number (leading blanks, optional sign, digits, point, digits) at the start
// of text. Exponents, hex forms and "inf" are not numbers here, so no text can yield a value
// larger than its digits before the point allow.
double ReadDecimal(const char* text) {
    char number[64];
    int length = 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '+' || *p == '-') number[length++] = *p++;
    while (*p >= '0' && *p <= '9') {
        if (length < static_cast<int>(sizeof number) - 1) number[length++] = *p;
        ++p;
    }
    if (*p == '.') {
        if (length < static_cast<int>(sizeof number) - 1) number[length++] = '.';
        ++p;
        // Decimals beyond the buffer change nothing that the compact form can show.
        while (*p >= '0' && *p <= '9' && length < static_cast<int>(sizeof number) - 1)
            number[length++] = *p++;
    }
    number[length] = '\0';
    return std::strtod(number, nullptr);
}

char HemisphereLetter(int32_t value, bool isLatitude) {
    if (isLatitude) return value > 0 ? 'N' : 'S';
    return value > 0 ? 'E' : 'W';
}

// Whole degrees and minutes of |value|, the minutes still fractional.
void SplitDegrees(int32_t value, int32_t& degrees, double& minutes) {
    int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    degrees = TruncToInt32(static_cast<double>(magnitude) / 100000.0);
    minutes = static_cast<double>(magnitude - static_cast<int64_t>(degrees) * 100000) / 1000.0 /
              1.66666;
}

}  // namespace

bool CompactCoordinate(char* target, const char* boundText) {
    const char* colon = std::strchr(boundText, ':');
    if (!colon) return true;
    int degreeWidth, minutesStart, pointIndex;
    char firstLetter, secondLetter;
    switch (colon - boundText) {
    case 2:
        degreeWidth = 2, minutesStart = 3, pointIndex = 5, firstLetter = 'N', secondLetter = 'S';
        break;
    case 3:
        degreeWidth = 3, minutesStart = 4, pointIndex = 6, firstLetter = 'E', secondLetter = 'W';
        break;
    default:
        return true;
    }
    const char* point = std::strchr(boundText, '.');
    if (!point || point - boundText != pointIndex) return true;

    char hemisphere;
    if (std::strchr(boundText, firstLetter))
        hemisphere = firstLetter;
    else if (std::strchr(boundText, secondLetter))
        hemisphere = secondLetter;
    else
        return true;  // no letter of its rule: the sign would be a guess

    double minutes = ReadDecimal(boundText + minutesStart);
    char fraction[16];
    std::snprintf(fraction, sizeof fraction, "%05.0f", minutes * 1000.0 * 1.666667);
    std::snprintf(target, CompactTextSize, "%.*s%s%c", degreeWidth, boundText, fraction,
                  hemisphere);
    return true;
}

int32_t CompactToNumber(const char* compactText, char positiveLetter) {
    int64_t value = TextToInt(compactText);
    if (!std::strchr(compactText, positiveLetter)) value = -value;
    return Saturate(value);
}

void CoordinateToText(char* target, int targetSize, int32_t value, bool isLatitude) {
    if (targetSize <= 0) return;
    int32_t degrees;
    double minutes;
    SplitDegrees(value, degrees, minutes);
    char minutesText[32];
    std::snprintf(minutesText, sizeof minutesText, "%06.3f", minutes);
    // The last 1/100000 degree below a whole degree rounds to 60 minutes; carry it, since a
    // minutes text of 60 would read back as a degree count a hundred times too large.
    if (std::strcmp(minutesText, "60.000") == 0) {
        ++degrees;
        std::snprintf(minutesText, sizeof minutesText, "00.000");
    }
    std::snprintf(target, static_cast<size_t>(targetSize), isLatitude ? "%02d:%s%c" : "%03d:%s%c",
                  static_cast<int>(degrees), minutesText, HemisphereLetter(value, isLatitude));
}

void CoordinateToRow(SetupRow& row, int32_t value, bool isLatitude) {
    int32_t degrees;
    double minutes;
    SplitDegrees(value, degrees, minutes);
    int32_t wholeMinutes = TruncToInt32(minutes);
    int32_t thousandths = TruncToInt32((minutes - wholeMinutes) * 1000.0);
    // Degrees beyond the row's three characters are cut, as the dialog's edit would hold them.
    char text[16];
    std::snprintf(text, sizeof text, isLatitude ? "%02d" : "%03d", static_cast<int>(degrees));
    CopyText(row.degText, sizeof row.degText, text);
    std::snprintf(text, sizeof text, "%02d", static_cast<int>(wholeMinutes));
    CopyText(row.minText, sizeof row.minText, text);
    std::snprintf(text, sizeof text, "%03d", static_cast<int>(thousandths));
    CopyText(row.thouText, sizeof row.thouText, text);
    row.hemiText[0] = HemisphereLetter(value, isLatitude);
    row.hemiText[1] = '\0';
}

void SpreadAreaOverBackdrop() {
    latPerPixel = backdropHeight > 0 ? latSpan / static_cast<double>(backdropHeight) : 0.0;
    lonPerPixel = backdropWidth > 0 ? lonSpan / static_cast<double>(backdropWidth) : 0.0;
}

bool RecomputeArea() {
    CompactCoordinate(compactTop, areaTopText);
    CompactCoordinate(compactBottom, areaBottomText);
    CompactCoordinate(compactLeft, areaLeftText);
    CompactCoordinate(compactRight, areaRightText);

    areaTop = CompactToNumber(compactTop, 'N');
    areaBottom = CompactToNumber(compactBottom, 'N');
    areaLeft = CompactToNumber(compactLeft, 'E');
    areaRight = CompactToNumber(compactRight, 'E');

    latSpan = Saturate(static_cast<int64_t>(areaTop) - areaBottom);
    lonSpan = Saturate(static_cast<int64_t>(areaRight) - areaLeft);

    // The markers stretch the entered bounds out to the backdrop's edges. Without a backdrop, or
    // with markers that leave no columns (rows) between them, there is nothing to stretch over and
    // the entered bounds are kept in that direction.
    const int64_t w = backdropWidth, h = backdropHeight;
    const int64_t innerWidth = w - markers[MarkerLeft].x - markers[MarkerRight].x;
    const int64_t innerHeight = h - markers[MarkerTop].y - markers[MarkerBottom].y;
    if (w > 0 && innerWidth > 0) {
        lonSpan = TruncToInt32(static_cast<double>(w) / static_cast<double>(innerWidth) * lonSpan);
        areaLeft = TruncToInt32(areaLeft - (static_cast<double>(markers[MarkerLeft].x) /
                                            static_cast<double>(w)) * lonSpan);
        areaRight = Saturate(static_cast<int64_t>(areaLeft) + lonSpan);
    }
    if (h > 0 && innerHeight > 0) {
        latSpan = TruncToInt32(static_cast<double>(h) / static_cast<double>(innerHeight) * latSpan);
        areaBottom = TruncToInt32(areaBottom - (static_cast<double>(markers[MarkerBottom].y) /
                                                static_cast<double>(h)) * latSpan);
        areaTop = Saturate(static_cast<int64_t>(areaBottom) + latSpan);
    }

    SpreadAreaOverBackdrop();

    CoordinateToText(areaTopText, BoundTextSize, areaTop, true);
    CoordinateToRow(setupRows[MarkerTop], areaTop, true);
    CoordinateToText(areaBottomText, BoundTextSize, areaBottom, true);
    CoordinateToRow(setupRows[MarkerBottom], areaBottom, true);
    CoordinateToText(areaLeftText, BoundTextSize, areaLeft, false);
    CoordinateToRow(setupRows[MarkerLeft], areaLeft, false);
    CoordinateToText(areaRightText, BoundTextSize, areaRight, false);
    CoordinateToRow(setupRows[MarkerRight], areaRight, false);

    for (MarkerPoint& marker : markers) marker = MarkerPoint{0, 0};
    return true;
}

void ResetCompactTexts() {
    compactTop[0] = compactBottom[0] = compactLeft[0] = compactRight[0] = '\0';
}
