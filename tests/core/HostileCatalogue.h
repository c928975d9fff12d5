// Hostile inputs for the core's readers and parsers, made by code: files a user may hand the
// program by mistake (a picture of a kind the reader does not take, a project edited by hand,
// some other file altogether) and texts that can be typed into the Setup dialog, each with the
// outcome the program promises. The unit tests check the outcomes; the fuzz seed writer starts
// its corpus from the same bytes. Cut files are not listed: the tests cut valid files at every
// length. Header only, standard library only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/TestData.h"

namespace hostile {

using testdata::Bmp;
using testdata::With;

template <size_t N>
std::string Raw(const char (&text)[N]) { return std::string(text, N - 1); }

// ---- Bitmaps ----

constexpr int Loads = 0, NotBitmap = 2, Unreadable = 3, CutShort = 4, Compressed = 5, TooLarge = 6;  // LoadBackdrop's answers

// A 2 x 2 picture, top row first, with an information header of infoSize bytes and, below 24
// bits, its colour table behind it; with masks, its rows are described as bit fields, inside the
// header or behind a 40-byte one.
inline std::string BmpWithInfo(uint32_t infoSize, int bits = 32, std::array<uint32_t, 3> masks = {}) {
    const std::string plain = Bmp(2, -2, bits);
    std::string info = testdata::With(plain.substr(14, 40) + std::string(infoSize - 40, '\0'), 0, infoSize);
    for (uint32_t i = 0; i < 3 && masks[0] != 0; ++i) info = With(With(info, 16, 3), 40 + 4 * i, masks[i]);
    const std::string b = plain.substr(0, 14) + info + plain.substr(54);
    return With(b, 10, static_cast<uint32_t>(14 + info.size() + (bits <= 8 ? 4u << bits : 0u)));
}
inline std::string Bmp32(uint32_t infoSize, std::array<uint32_t, 3> masks = {}) { return BmpWithInfo(infoSize, 32, masks); }
const std::array<uint32_t, 3> RedGreenBlue = {0xFF0000u, 0xFF00u, 0xFFu};

// For files that load: the picture's size, its rows top first and the info block's colours-used
// field, the last two when the case fixes them.
struct BitmapCase {
    std::string what, bytes;
    int result;
    int32_t width = 0, height = 0;
    std::string pixels;
    int64_t coloursUsed = -1;
};

inline std::vector<BitmapCase> BitmapCases() {
    std::vector<BitmapCase> cases;
    auto refused = [&](std::string what, std::string bytes, int result = Unreadable) {
        cases.push_back({std::move(what), std::move(bytes), result, 0, 0, {}, -1});
    };
    const std::string eight = Bmp(4, 2, 8), rgb = Bmp(5, 3, 24), four = Bmp(9, 1, 4);
    refused("type MB", With(eight, 0, 'M' | 'B' << 8, 2), NotBitmap);
    for (auto f : {std::make_pair(18, 0u), {18, uint32_t(-4)}, {18, 0x80000000u}, {22, 0u}, {22, 0x80000000u}})
        refused("size field " + std::to_string(f.first) + " = " + std::to_string(int32_t(f.second)),
                With(eight, f.first, f.second));
    refused("height -(2^31 - 1): rows of 8 GB", With(eight, 22, 0x80000001u), TooLarge);
    for (uint32_t bits : {0u, 2u, 16u, 64u, 65535u})
        refused(std::to_string(bits) + " bits per pixel", With(eight, 28, bits, 2));
    refused("32 bits on a file of 8-bit rows", With(eight, 28, 32, 2), CutShort);
    refused("16 bits, whole file", Bmp(4, 2, 16));
    refused("RLE8", With(eight, 30, 1), Compressed);
    refused("RLE4", With(four, 30, 2), Compressed);
    refused("bit fields at 24 bits", With(rgb, 30, 3), Compressed);
    refused("compression 2^32 - 1", With(rgb, 30, 0xFFFFFFFFu), Compressed);
    refused("32 bits, compression 1", With(Bmp32(40), 30, 1), Compressed);
    refused("32 bits, header of 64 bytes", Bmp32(64));
    refused("32 bits, bit fields of blue, green, red", Bmp32(108, {0xFFu, 0xFF00u, 0xFF0000u}));
    refused("32 bits, bit fields of 5, 6, 5", Bmp32(40, {0xF800u, 0x7E0u, 0x1Fu}));
    refused("32 bits, bit fields with blue 0xFE", Bmp32(124, {0xFF0000u, 0xFF00u, 0xFEu}));
    // Below 24 bits the colour table lies behind the header, whatever its size (the test compares it).
    for (uint32_t size : {108u, 124u})
        for (int bits : {1, 4, 8})
            cases.push_back({std::to_string(bits) + " bits, header of " + std::to_string(size), BmpWithInfo(size, bits), Loads, 2, 2,
                             Bmp(2, 2, bits, nullptr, true), -1});
    // 32 bits: the rows are taken as they stand, the fourth byte unread by the drawing.
    const std::string rows32 = Bmp(2, 2, 32, nullptr, true);
    for (uint32_t size : {40u, 108u, 124u})
        for (bool fields : {false, true})
            cases.push_back({"32 bits, header of " + std::to_string(size) + (fields ? ", bit fields" : ""),
                             Bmp32(size, fields ? RedGreenBlue : std::array<uint32_t, 3>{}), Loads, 2, 2, rows32, -1});
    // Sizes whose row arithmetic passes 32 bits, each on a file of about a thousand bytes.
    // Over the reader's bound they are too large; below it, the file is too short for them.
    const struct { const char* what; uint32_t width, height, bits; int result; } huge[] = {
        {"width 2^31 - 1 at 24 bits", 0x7FFFFFFFu, 1, 24, Unreadable}, {"width 89478486 at 24 bits", 89478486u, 1, 24, CutShort},
        {"width 2^31 - 1 at 1 bit", 0x7FFFFFFFu, 1, 1, CutShort},      {"width 2^31 - 31 at 1 bit", 0x7FFFFFE1u, 1, 1, CutShort},
        {"1 x 2^30 at 24 bits", 1, 0x40000000u, 24, TooLarge},         {"1 x -2^30 at 24 bits", 1, 0xC0000000u, 24, TooLarge},
        {"2^29 x 8 at 8 bits", 0x20000000u, 8, 8, TooLarge},           {"65536 x 65536 at 24 bits", 65536, 65536, 24, TooLarge},
        {"20000 x 20000 at 8 bits", 20000, 20000, 8, CutShort},        {"20000 x -20000 at 1 bit", 20000, uint32_t(-20000), 1, CutShort},
    };
    for (const auto& h : huge) {
        std::string b = h.bits == 24 ? rgb : h.bits == 1 ? Bmp(33, 1, 1) : eight;
        b = With(With(With(b, 18, h.width), 22, h.height), 28, h.bits, 2);
        refused(h.what, b + std::string(b.size() < 1000 ? 1000 - b.size() : 0, '\x55'), h.result);
    }
    const uint32_t end = static_cast<uint32_t>(eight.size());
    for (uint32_t offset : {end + 1, end, end - 4, 0x80000000u, 0xFFFFFFFFu})
        refused("pixel offset " + std::to_string(offset), With(eight, 10, offset), CutShort);
    const std::string one = Bmp(1, 1, 24);
    cases.push_back({"pixel offset 0: rows from the file's start", With(one, 10, 0), Loads, 1, 1, one.substr(0, 4), -1});
    // A colours-used field beyond the table is capped, so drawing never reads past the info block.
    cases.push_back({"colours used 1000 of 256", With(eight, 46, 1000), Loads, 4, 2, {}, 256});
    cases.push_back({"colours used 2^32 - 1 of 2", With(Bmp(1, 1, 1), 46, 0xFFFFFFFFu), Loads, 1, 1, {}, 2});
    cases.push_back({"colours used 2 of 16 is kept", With(four, 46, 2), Loads, 9, 1, {}, 2});
    return cases;
}

// ---- Project files ----

// What the project holds before each read; a refused file, and lines a file lacks, leave it.
inline const char* const KeptName = "kept.bmp";
inline const char* const KeptTop = "89:00.000N";
constexpr int32_t KeptCount = 1;
using ThermalFields = std::array<int32_t, 13>;
constexpr ThermalFields KeptThermal = {99, 98, 1, 0, 1500, 500, 270, 0, 1, 0, 1500, 1000, 7};

// ReadProject's answer, then afterwards thermalCount, backdropName, areaTopText, record 0, the
// lat of the last record and the lines left out that hold no thermal.
struct ProjectCase {
    std::string what, bytes;
    bool ok;
    int32_t count;
    std::string name, top;
    ThermalFields first;
    int32_t lastLat;
    int leftOut = 0;
};

inline const std::string& ProjectHeader() {
    static const std::string header = "area.bmp\r\n53:30.000N\r\n51:15.500N\r\n003:20.000E\r\n007:10.000E\r\n";
    return header;
}

inline std::vector<ProjectCase> ProjectCases() {
    const std::string& h = ProjectHeader();
    const std::string top = "53:30.000N", bound300(300, '5'), lf = "area.bmp\n53:30.000N\nB\nL\nR\n";
    const int32_t max = INT32_MAX, min = INT32_MIN;
    const char* a = "area.bmp";
    std::vector<ProjectCase> cases = {
        // Fewer than five lines, or a NUL before the first Ctrl-Z: no project, nothing taken.
        {"empty file", "", false, KeptCount, KeptName, KeptTop, KeptThermal, 99},
        {"only the name, no line end", "only.bmp", false, KeptCount, KeptName, KeptTop, KeptThermal, 99},
        {"four lines before a Ctrl-Z", "a.bmp\nT\nB\nL\r\n\x1aR\n", false, KeptCount, KeptName, KeptTop, KeptThermal, 99},
        {"five lines, the last without a line end", "\xEF\xBB\xBF" "a.bmp\nT\n\nL\nR", true, 0, "a.bmp", "T", KeptThermal, 99},
        {"NUL after the Ctrl-Z that ends the text", h + "1,2\r\n\x1a" + Raw("\0\0"), true, 1, a, top, {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"name of 511 characters", std::string(511, 'n') + "\nT\nB\nL\nR\n", true, 0, std::string(511, 'n'), "T", KeptThermal, 99},
        {"name of 512 characters", std::string(512, 'n') + "\nT\nB\nL\nR\n1,2\n", false, KeptCount, KeptName, KeptTop, KeptThermal, 99},
        {"top bound of 300 characters", "a.bmp\n" + bound300 + "\nB\nL\nR\n1,2\n", false, KeptCount, KeptName, KeptTop, KeptThermal, 99},
        {"bound of 31 characters", "a.bmp\n" + std::string(31, 'b') + "\nB\nL\nR\n", true, 0, "a.bmp", std::string(31, 'b'), KeptThermal, 99},
        {"NUL in the name", Raw("a\0b.bmp\n") + h.substr(10), false, KeptCount, KeptName, KeptTop, KeptThermal, 99},
        {"CR, LF and CR LF mixed", "area.bmp\r\n53:30.000N\nB\rL\r\nR\n1,2\r3,4\r\n", true, 2, a, top, {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 3},
        {"a byte-order mark is not part of the name", "\xEF\xBB\xBF" + h + "1,2\r\n", true, 1, a, top, {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"line ends of LF alone", lf + "1,2,3,4,5,6,7,8,1,10,11,12,-13\n", true, 1, a, top, {1, 2, 3, 4, 5, 6, 7, 8, 1, 10, 11, 12, -13}, 1},
        {"LF alone, an empty top bound is a line of its own", "area.bmp\n\nB\nL\nR\n1,2\n", true, 1, a, "", {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"blank lines hold no thermal, the last one too", lf + "\n1,2\r\n\r\n \t\n3,4\n\n  ", true, 2, a, top, {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 3},
        {"cloudOn -5 reads as 1", h + "0,0,0,0,0,0,0,0,-5,0,0,0,0\n", true, 1, a, top, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}, 0},
        {"100 fields: the first 13 are taken", h + "1,2,3,4,5,6,7,8,9,10,11,12,13" + [] {
             std::string s; for (int i = 14; i <= 100; ++i) s += "," + std::to_string(i); return s; }() + "\r\n",
         true, 1, a, top, {1, 2, 3, 4, 5, 6, 7, 8, 1, 10, 11, 12, 13}, 1},
        {"numbers of 30 digits saturate", h + "123456789012345678901234567890,-123456789012345678901234567890,"
         "000000000000000000000000000042,+999999999999999999999999999999,-000000000000000000000000000001\r\n",
         true, 1, a, top, {max, min, 42, max, -1, 0, 0, 0, 0, 0, 0, 0, 0}, max},
        {"a number of 100000 digits", h + std::string(100000, '9') + ",1\n", true, 1, a, top, {max, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, max},
        {"the 32-bit limits and one past", h + "-2147483648,2147483647,-2147483649,2147483648,-0,+2147483647,4294967296,-4294967296\n",
         true, 1, a, top, {min, max, min, max, 0, max, max, min, 0, 0, 0, 0, 0}, min},
        // A position without a number is no thermal: such lines are left out and counted.
        {"empty fields, letters and blanks", h + "-" + std::string(5000, '0') + "42,\t-0,x,+7, 8\n# note\n1,\n+-1,2\n,3\n1, x\n", true, 1, a, top,
         {-42, 0, 0, 7, 8, 0, 0, 0, 0, 0, 0, 0, 0}, -42, 5},
        {"tabs before numbers are skipped", h + "\t1,\t\t2, \t3,4\t5,\t-6,\t,\t\n", true, 1, a, top, {1, 2, 3, 4, -6, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"NUL in a thermal line", h + Raw("7,8\0,9,10\n11,12\n"), false, KeptCount, KeptName, KeptTop, KeptThermal, 99},
        {"no line end after the last line", h + "1,2,3\n4,5,6", true, 2, a, top, {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 4},
        {"a Ctrl-Z after the last line ends the text", h + "1,2,3\r\n\x1a", true, 1, a, top, {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
    };
    std::string many = h;
    for (int i = 0; i < 100000; ++i) many += std::to_string(i) + ",1,4,0,1500,500,0,0,0,0,0,0,0\n";
    cases.push_back({"100000 thermal lines: MaxThermals are read", many, true, 32768, a, top,
                     {0, 1, 4, 0, 1500, 500, 0, 0, 0, 0, 0, 0, 0}, 32767});
    // Every byte value, NUL first: no project.
    std::string bytes;
    for (int k = 0; k < 64 * 256; ++k) bytes.push_back(static_cast<char>(k));
    cases.push_back({"all byte values", bytes, false, KeptCount, KeptName, KeptTop, KeptThermal, 99});
    return cases;
}

// ---- Bound texts ----

// The values the top and left bounds held before the text under test.
inline const char* const PreviousLatitudeText = "52:30.000N";
constexpr int32_t PreviousLatitude = 5250000;
inline const char* const PreviousLongitudeText = "004:53.000E";
constexpr int32_t PreviousLongitude = 488333;

struct BoundTextCase {
    std::string what, text;
    bool latitude;        // tried as the top bound, else as the left bound
    const char* compact;  // the compact form; null when the text is not converted (bound kept)
    int32_t value;        // the bound's number afterwards
};

// One row per shape; whether a shape is a latitude's or a longitude's is the colon's place.
inline std::vector<BoundTextCase> BoundTextCases() {
    const int32_t lat = PreviousLatitude, lon = PreviousLongitude;
    return {
        {"colon at 0", ":30.000N", true, nullptr, lat},
        {"no colon", "5230.000N", true, nullptr, lat},
        {"empty", "", true, nullptr, lat},
        {"comma for point", "52:30,000N", true, nullptr, lat},
        {"point one early", "52:3.0000N", true, nullptr, lat},
        {"letters for degrees", "ab:30.000N", true, "ab50000N", 0},
        {"lower-case letter", "004:53.000w", false, nullptr, lon},
        {"no hemisphere", "52:30.000", true, nullptr, lat},
        {"the other rule's letter", "004:53.000N", false, nullptr, lon},
        {"SN: N wins wherever it stands", "52:30.000SN", true, "5250000N", 5250000},
        // Minutes join the degrees as digits; 60 or more give six digits, a hundredfold value.
        {"99 minutes", "52:99.000N", true, "52165000N", 52165000},
        {"a sign in the degrees", "-5:30.000N", true, "-550000N", -550000},
    };
}

// ---- Setup rows ----

struct RowTexts {
    std::string deg, min, thou, hemi;  // at most 3, 3, 4 and 1 characters, as the edits hold
};
// The rows before the row under test, top, bottom, left, right, and their numbers.
inline std::array<RowTexts, 4> DefaultRows() {
    return {{{"53", "00", "000", "N"}, {"52", "00", "000", "N"}, {"004", "00", "000", "E"}, {"006", "00", "000", "E"}}};
}
constexpr std::array<int32_t, 4> DefaultValues = {5300000, 5200000, 400000, 600000};

struct SetupRowCase {
    std::string what;
    std::vector<std::pair<int, RowTexts>> rows;  // rows that differ from DefaultRows
    int error;                                   // CheckSetupRows's answer
    std::string bound;                           // the first changed row's composed bound text
    int32_t value;                               // its number after the area is recomputed
};

inline std::vector<SetupRowCase> SetupRowCases() {
    const auto& d = DefaultValues;
    const RowTexts none{"", "", "", ""};
    return {
        {"all empty", {{0, {"", "", "", "n"}}, {1, none}, {2, {"", "", "", "w"}}, {3, none}}, 1, "00:00.000N", 0},
        {"top and bottom zero, before a wrong letter", {{0, {"0", "0", "0", "X"}}, {1, {"", "", "", "S"}}}, 2, "00:00.000X", d[0]},
        {"left and right zero", {{2, {"ab", "", "", "E"}}, {3, {"", "-", "+", "W"}}}, 3, "000:00.000E", 0},
        {"a letter after a digit", {{1, {"5x", "3y", "5z", "N"}}}, 0, "05:03.005N", 505008},
        // A missing or wrong letter is reported, the last one wins, and the bound keeps its value.
        {"no hemisphere", {{1, {"52", "00", "000", ""}}}, 5, "52:00.000", d[1]},
        {"last wrong letter wins", {{0, {"52", "0", "0", "E"}}, {3, {"6", "0", "0", "N"}}}, 7, "52:00.000E", d[0]},
        {"two letters typed: one is kept", {{0, {"53", "00", "000", "NS"}}}, 0, "53:00.000N", 5300000},
        // Out of range: reported; the area then takes what the composed text converts to.
        {"999 degrees at the bottom", {{1, {"999", "00", "000", "S"}}}, 9, "999:00.000S", d[1]},
        {"90 degrees north", {{0, {"90", "00", "000", "N"}}}, 8, "90:00.000N", 9000000},
        {"99 minutes on the left", {{2, {"004", "99", "000", "E"}}}, 10, "004:99.000E", 4165000},
        {"180 degrees on the right", {{3, {"180", "00", "000", "E"}}}, 11, "180:00.000E", 18000000},
        {"negative minutes at the top", {{0, {"52", "-5", "000", "N"}}}, 8, "52:-5.000N", 52},
        {"60 minutes at the bottom", {{1, {"51", "60", "000", "N"}}}, 9, "51:60.000N", 51100000},
        {"negative degrees", {{0, {"-5", "00", "000", "N"}}}, 8, "-5:00.000N", -500000},
        // The edits' text is read as numbers only: colons and points in it end the number.
        {"a point in the minutes", {{0, {"52", "3.5", "000", "N"}}}, 0, "52:03.000N", 5205000},
        {"four digits of thousandths", {{0, {"53", "00", "9999", "N"}}}, 0, "53:00.9999N", 5301667},
        {"blanks before the numbers", {{0, {" 52", " 30", " 50", "N"}}}, 0, "52:30.050N", 5250083},
        // An area without height or width: only when the rows are sound otherwise, the later first.
        {"top equal to bottom", {{0, {"52", "00", "000", "N"}}}, 12, "52:00.000N", d[1]},
        {"top south of bottom by a thousandth", {{0, {"51", "59", "999", "N"}}, {1, {"52", "00", "000", "N"}}}, 12, "51:59.999N", 5199998},
        {"top 1 S under bottom 1 N", {{0, {"1", "00", "000", "S"}}, {1, {"1", "00", "000", "N"}}}, 12, "01:00.000S", -100000},
        {"right equal to left", {{3, {"004", "00", "000", "E"}}}, 13, "004:00.000E", d[2]},
        {"right west of left, top equal to bottom", {{3, {"004", "00", "000", "W"}}, {0, {"52", "00", "000", "N"}}}, 13, "004:00.000W", -400000},
        {"a wrong letter before an empty area", {{0, {"52", "00", "000", "E"}}, {1, {"52", "00", "000", "N"}}}, 4, "52:00.000E", d[0]},
    };
}

}  // namespace hostile
