// Bound texts (DD:MM.mmmH, DDD:MM.mmmH) and their conversion to the numeric area.
#pragma once

#include <cstdint>

constexpr int CompactTextSize = 32;

// Writes the compact form of a bound text into target (CompactTextSize bytes), or leaves target
// unchanged when the text is not in one of the two forms, or holds neither hemisphere letter of
// its rule. Always true.
bool CompactCoordinate(char* target, const char* boundText);

// Leading signed integer of a compact text, negated when the text holds no positiveLetter
// ('N' for latitudes, 'E' for longitudes).
int32_t CompactToNumber(const char* compactText, char positiveLetter);

// Number-to-text: "%02d:%06.3f" + N/S for a latitude, "%03d:%06.3f" + E/W for a longitude.
void CoordinateToText(char* target, int targetSize, int32_t value, bool isLatitude);

struct SetupRow;
// The Setup row of a numeric coordinate: degrees, whole minutes, truncated thousandths, letter.
void CoordinateToRow(SetupRow& row, int32_t value, bool isLatitude);

// Spreads the numeric area as it stands over the backdrop's present size, so that a picture of
// another size shows the thermals where they lie once the area is applied.
void SpreadAreaOverBackdrop();

// Turns the bound texts and markers into the numeric area, rewrites the texts and rows, clears
// the markers. Always true.
bool RecomputeArea();

// Forgets the compact texts kept between runs (program start state); for tests.
void ResetCompactTexts();
