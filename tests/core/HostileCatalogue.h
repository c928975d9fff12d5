// Hostile inputs for the core's readers and parsers, made by code: files a user may hand the
// program by mistake (a cut download, a picture of a kind the reader does not take, a project
// edited by hand, some other file altogether) and texts that can be typed into the Setup dialog,
// each with the outcome the program promises. The unit tests check the outcomes; the fuzz seed
// writer starts its corpus from the same bytes. Header only, standard library only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace hostile {

// Bytes of a literal, NULs included.
template <size_t N>
std::string Raw(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// Writes value little-endian into size bytes at the offset, growing the text when needed.
inline void Put(std::string& bytes, size_t at, uint32_t value, int size = 4) {
    if (bytes.size() < at + size) bytes.resize(at + size, '\0');
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

inline std::string With(std::string bytes, size_t at, uint32_t value, int size = 4) {
    Put(bytes, at, value, size);
    return bytes;
}

inline std::string Cut(const std::string& bytes, size_t length) { return bytes.substr(0, length); }

// ---------------------------------------------------------------------------------------------
// Bitmaps

// LoadBackdrop's answers.
constexpr int Loads = 0, NotBitmap = 2, Unreadable = 3;

constexpr size_t HeadersSize = 54;  // 14-byte file header and 40-byte information header

// A sound BMP file: rows padded to four bytes, stored bottom row first for a positive height;
// colour table entry k is (k, 2k, 3k, 0), pixel byte i of the data is i * 7 + 1.
inline std::string Bmp(int32_t width, int32_t height, int bitCount) {
    const int64_t rowSize = (int64_t{width} * bitCount + 31) / 32 * 4;
    const int64_t rows = height < 0 ? -int64_t{height} : height;
    const uint32_t colours = bitCount <= 8 ? 1u << bitCount : 0;  // deeper pictures have none
    const uint32_t offset = static_cast<uint32_t>(HeadersSize + 4 * colours);
    const uint32_t pixelBytes = static_cast<uint32_t>(rowSize * rows);
    std::string b(HeadersSize, '\0');
    b[0] = 'B', b[1] = 'M';
    Put(b, 2, offset + pixelBytes);
    Put(b, 10, offset);
    Put(b, 14, 40);
    Put(b, 18, static_cast<uint32_t>(width));
    Put(b, 22, static_cast<uint32_t>(height));
    Put(b, 26, 1, 2);
    Put(b, 28, static_cast<uint32_t>(bitCount), 2);
    Put(b, 34, pixelBytes);
    for (uint32_t k = 0; k < colours; ++k)
        b += {static_cast<char>(k), static_cast<char>(2 * k), static_cast<char>(3 * k), '\0'};
    for (uint32_t i = 0; i < pixelBytes; ++i) b.push_back(static_cast<char>(i * 7 + 1));
    return b;
}

struct BmpField {
    const char* name;
    size_t offset;
    int size;
};

// The fields of the two headers, in file order.
inline std::vector<BmpField> BmpFields() {
    return {{"type", 0, 2},         {"file size", 2, 4},     {"reserved", 6, 4},
            {"pixel offset", 10, 4}, {"header size", 14, 4}, {"width", 18, 4},
            {"height", 22, 4},      {"planes", 26, 2},       {"bit count", 28, 2},
            {"compression", 30, 4}, {"image size", 34, 4},   {"x resolution", 38, 4},
            {"y resolution", 42, 4}, {"colours used", 46, 4}, {"colours important", 50, 4}};
}

struct BitmapCase {
    std::string what;
    std::string bytes;
    int result;
    int32_t width, height;  // the loaded picture's size, for files that load
    std::string pixels;     // the loaded rows, top row first, when the case fixes them
};

inline std::vector<BitmapCase> BitmapCases() {
    std::vector<BitmapCase> cases;
    auto refused = [&](std::string what, std::string bytes, int result = Unreadable) {
        cases.push_back({std::move(what), std::move(bytes), result, 0, 0, {}});
    };
    const std::string eight = Bmp(4, 2, 8);      // 54 + 1024 colours + 2 rows of 4 bytes
    const std::string eightDown = Bmp(4, -2, 8);
    const std::string rgb = Bmp(5, 3, 24);       // 54 + 3 rows of 16 bytes

    // Cut at the start of every header field and one byte before its end; only the file's
    // first two bytes can tell that it is no bitmap at all.
    for (const BmpField& f : BmpFields()) {
        for (size_t at : {f.offset, f.offset + f.size - 1}) {
            refused("cut at byte " + std::to_string(at) + " in the " + f.name, Cut(eight, at),
                    at < 2 ? NotBitmap : Unreadable);
        }
    }
    refused("cut after the headers", Cut(eight, HeadersSize));
    refused("24 bits, cut after the headers", Cut(rgb, HeadersSize));
    refused("type BA", With(eight, 0, 'B' | 'A' << 8, 2), NotBitmap);
    refused("type MB", With(eight, 0, 'M' | 'B' << 8, 2), NotBitmap);

    // Inside the colour table.
    refused("8 bits, cut after one table byte", Cut(eight, HeadersSize + 1));
    refused("8 bits, cut in the middle of the table", Cut(eight, HeadersSize + 512 + 2));
    refused("8 bits, one table byte short", Cut(eight, HeadersSize + 1023));
    refused("4 bits, one table byte short", Cut(Bmp(9, 1, 4), HeadersSize + 63));
    refused("1 bit, cut in the second entry", Cut(Bmp(33, 1, 1), HeadersSize + 5));

    // Inside the pixel rows, stored either way up.
    refused("bottom-up, one pixel byte short", Cut(eight, eight.size() - 1));
    refused("bottom-up, cut after the first row", Cut(eight, eight.size() - 4));
    refused("bottom-up, cut inside the first row", Cut(eight, eight.size() - 6));
    refused("top-down, one pixel byte short", Cut(eightDown, eightDown.size() - 1));
    refused("top-down, cut inside the first row", Cut(eightDown, eightDown.size() - 6));
    refused("24 bits, the last row missing", Cut(rgb, rgb.size() - 16));

    // Sizes that describe no picture.
    refused("width 0", With(eight, 18, 0));
    refused("height 0", With(eight, 22, 0));
    refused("width -4", With(eight, 18, static_cast<uint32_t>(-4)));
    refused("width -2^31", With(eight, 18, 0x80000000u));
    refused("height -2^31", With(eight, 22, 0x80000000u));
    refused("height -(2^31 - 1)", With(eight, 22, 0x80000001u));

    // Depths and compressions the reader does not take.
    for (uint32_t bits : {0u, 2u, 16u, 32u, 64u, 65535u})
        refused(std::to_string(bits) + " bits per pixel", With(eight, 28, bits, 2));
    refused("16 bits, whole file", Bmp(4, 2, 16));
    refused("32 bits, whole file", Bmp(4, 2, 32));
    refused("RLE8", With(eight, 30, 1));
    refused("RLE4", With(Bmp(9, 1, 4), 30, 2));
    refused("bit fields", With(rgb, 30, 3));
    refused("compression 2^32 - 1", With(rgb, 30, 0xFFFFFFFFu));

    // Sizes whose row arithmetic passes 32 bits, each on a file of about a thousand bytes.
    const struct { const char* what; uint32_t width, height, bits; } huge[] = {
        {"width 2^31 - 1 at 24 bits", 0x7FFFFFFFu, 1, 24},
        {"width 89478486 at 24 bits", 89478486u, 1, 24},
        {"width 2^31 - 1 at 1 bit", 0x7FFFFFFFu, 1, 1},
        {"width 2^31 - 31 at 1 bit", 0x7FFFFFE1u, 1, 1},
        {"1 x 2^30 at 24 bits (2^32 bytes)", 1, 0x40000000u, 24},
        {"1 x -2^30 at 24 bits", 1, 0xC0000000u, 24},
        {"2^29 x 8 at 8 bits (2^32 bytes)", 0x20000000u, 8, 8},
        {"65536 x 65536 at 24 bits", 65536, 65536, 24},
        {"20000 x 20000 at 24 bits", 20000, 20000, 24},
        {"20000 x 20000 at 8 bits", 20000, 20000, 8},
        {"20000 x -20000 at 1 bit", 20000, static_cast<uint32_t>(-20000), 1},
    };
    for (const auto& h : huge) {
        std::string b = h.bits == 24 ? rgb : h.bits == 1 ? Bmp(33, 1, 1) : eight;
        Put(b, 18, h.width), Put(b, 22, h.height), Put(b, 28, h.bits, 2);
        refused(h.what, b.size() < 1000 ? b + std::string(1000 - b.size(), '\x55') : b);
    }

    // Where the pixel rows start.
    const uint32_t end = static_cast<uint32_t>(eight.size());
    refused("pixel offset one past the end", With(eight, 10, end + 1));
    refused("pixel offset at the end", With(eight, 10, end));
    refused("pixel offset a row too late", With(eight, 10, end - 4));
    refused("pixel offset 2^31", With(eight, 10, 0x80000000u));
    refused("pixel offset 2^32 - 1", With(eight, 10, 0xFFFFFFFFu));
    const std::string one = Bmp(1, 1, 24);
    cases.push_back({"pixel offset 0: the rows are read from the file's start", With(one, 10, 0),
                     Loads, 1, 1, one.substr(0, 4)});

    // The smallest pictures load.
    for (int bits : {1, 4, 8, 24}) {
        for (int32_t height : {1, -1}) {
            cases.push_back({"1 x " + std::to_string(height) + " at " + std::to_string(bits) +
                                 " bits",
                             Bmp(1, height, bits), Loads, 1, 1, Raw("\x01\x08\x0f\x16")});
        }
    }
    return cases;
}

// ---------------------------------------------------------------------------------------------
// Project files

// What the project holds before each read; a refused file, and lines a file lacks, leave it.
inline const char* const KeptName = "kept.bmp";
inline const char* const KeptTop = "89:00.000N";
constexpr int32_t KeptCount = 1;
using ThermalFields = std::array<int32_t, 13>;
constexpr ThermalFields KeptThermal = {99, 98, 1, 0, 1500, 500, 270, 0, 1, 0, 1500, 1000, 7};
constexpr ThermalFields Zeros = {};

struct ProjectCase {
    std::string what;
    std::string bytes;
    bool ok;            // ReadProject's answer
    int32_t count;      // thermalCount afterwards
    std::string name;   // backdropName afterwards
    std::string top;    // areaTopText afterwards
    ThermalFields first;  // record 0 afterwards, cloudOn as 0 or 1
    int32_t lastLat;    // lat of record count - 1
};

inline const std::string& ProjectHeader() {
    static const std::string header =
        "area.bmp\r\n53:30.000N\r\n51:15.500N\r\n003:20.000E\r\n007:10.000E\r\n";
    return header;
}

inline std::string Utf16(const std::string& text) {
    std::string out;
    for (char c : text) out += std::string(1, c) + '\0';
    return out;
}

inline std::vector<ProjectCase> ProjectCases() {
    const std::string& h = ProjectHeader();
    const std::string top = "53:30.000N", bound300(300, '5');
    const int32_t max = INT32_MAX, min = INT32_MIN;
    std::vector<ProjectCase> cases = {
        // The five header lines.
        {"empty file", "", true, 0, KeptName, KeptTop, KeptThermal, 99},
        {"only the name line", "only.bmp\r\n", true, 0, "only.bmp", KeptTop, KeptThermal, 99},
        {"only the name, no line end", "only.bmp", true, 0, "only.bmp", KeptTop, KeptThermal, 99},
        {"name of 511 characters", std::string(511, 'n') + "\n", true, 0, std::string(511, 'n'),
         KeptTop, KeptThermal, 99},
        {"name of 512 characters", std::string(512, 'n') + "\n1,2\n", false, KeptCount, KeptName,
         KeptTop, KeptThermal, 99},
        {"name of 10000 characters", std::string(10000, 'n') + h.substr(8) + "1,2\n", false,
         KeptCount, KeptName, KeptTop, KeptThermal, 99},
        {"top bound of 300 characters", "a.bmp\n" + bound300 + "\n1,2\n", false, KeptCount,
         KeptName, KeptTop, KeptThermal, 99},
        {"bottom bound of 300 characters", "a.bmp\n52:00.000N\n" + bound300 + "\n", false,
         KeptCount, KeptName, KeptTop, KeptThermal, 99},
        {"left bound of 300 characters", "a.bmp\nT\nB\n" + bound300 + "\nR\n", false, KeptCount,
         KeptName, KeptTop, KeptThermal, 99},
        {"right bound of 300 characters", "a.bmp\nT\nB\nL\n" + bound300, false, KeptCount,
         KeptName, KeptTop, KeptThermal, 99},
        {"bound of 31 characters", "a.bmp\n" + std::string(31, 'b') + "\n", true, 0, "a.bmp",
         std::string(31, 'b'), KeptThermal, 99},
        {"NUL in the name", Raw("a\0b.bmp\n") + h.substr(10), true, 0, "a", top, KeptThermal, 99},
        {"NUL ends a long bound line", "a.bmp\n" + top + Raw("\0") + bound300 + "\n", true, 0,
         "a.bmp", top, KeptThermal, 99},
        {"line ends of CR alone: one line", "a.bmp\r52:00.000N\r1,2,3\r", true, 0, "a.bmp",
         KeptTop, KeptThermal, 99},

        // Thermal lines.
        {"100 fields: the first 13 are taken", h + "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,"
         "19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,"
         "48,49,50,51,52,53,54,55,56,57,58,59,60,61,62,63,64,65,66,67,68,69,70,71,72,73,74,75,76,"
         "77,78,79,80,81,82,83,84,85,86,87,88,89,90,91,92,93,94,95,96,97,98,99,100\r\n",
         true, 1, "area.bmp", top, {1, 2, 3, 4, 5, 6, 7, 8, 1, 10, 11, 12, 13}, 1},
        {"numbers of 30 digits saturate", h + "123456789012345678901234567890,"
         "-123456789012345678901234567890,000000000000000000000000000042,"
         "+999999999999999999999999999999,-000000000000000000000000000001\r\n",
         true, 1, "area.bmp", top, {max, min, 42, max, -1, 0, 0, 0, 0, 0, 0, 0, 0}, max},
        {"a number of 100000 digits", h + std::string(100000, '9') + ",1\n", true, 1, "area.bmp",
         top, {max, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, max},
        {"the 32-bit limits and one past", h + "-2147483648,2147483647,-2147483649,2147483648,-0,"
         "+2147483647,4294967296,-4294967296\n", true, 1, "area.bmp", top,
         {min, max, min, max, 0, max, max, min, 0, 0, 0, 0, 0}, min},
        {"tabs before numbers are skipped", h + "\t1,\t\t2, \t3,4\t5,\t-6,\t,\t\n", true, 1,
         "area.bmp", top, {1, 2, 3, 4, -6, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"tabs are no separators", h + "1\t2\t3\n", true, 1, "area.bmp", top,
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"NUL ends the line's text", h + Raw("7,8\0,9,10\n11,12\n"), true, 2, "area.bmp", top,
         {7, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 11},
        {"NUL at the start of a line", h + Raw("\0" "1,2,3\n4\n"), true, 2, "area.bmp", top, Zeros,
         4},
        {"no line end after the last line", h + "1,2,3\n4,5,6", true, 2, "area.bmp", top,
         {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 4},
        {"a CR and no LF after the last line", h + "1,2,3\r", true, 1, "area.bmp", top,
         {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"a Ctrl-Z after the last line ends the text", h + "1,2,3\r\n\x1a", true, 1, "area.bmp",
         top, {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"a Ctrl-Z in a header line ends the text there", "a.bmp\r\n53:3\x1a" "0.000N\r\n1,2\r\n",
         true, 0, "a.bmp", "53:3", KeptThermal, 99},
    };

    std::string many = h;
    for (int i = 0; i < 100000; ++i) many += std::to_string(i) + ",1,4,0,1500,500,0,0,0,0,0,0,0\n";
    cases.push_back({"100000 thermal lines: MaxThermals are read", many, true, 32768, "area.bmp",
                     top, {0, 1, 4, 0, 1500, 500, 0, 0, 0, 0, 0, 0, 0}, 32767});

    // Other files given as projects. Every 256 bytes hold one LF: the first line's text ends at
    // its NUL, every later one's at its CR after VT and FF, which numbers skip as blanks.
    std::string bytes;
    for (int k = 0; k < 64 * 256; ++k) bytes.push_back(static_cast<char>(k));
    cases.push_back({"all byte values: the first Ctrl-Z ends the text", bytes, true, 0, "", "\v\f",
                     KeptThermal, 0});
    cases.push_back({"a backdrop picture (no LF in it)", Bmp(1, 1, 24), true, 0, "BM:", KeptTop,
                     KeptThermal, 99});
    cases.push_back({"UTF-16 text: each line's text ends at its first NUL",
                     Utf16(h + "1,2,3\r\n"), true, 2, "a", "", Zeros, 0});
    return cases;
}

// ---------------------------------------------------------------------------------------------
// Bound texts

// The values each bound held before the text under test.
inline const char* const PreviousLatitudeText = "52:30.000N";
constexpr int32_t PreviousLatitude = 5250000;
inline const char* const PreviousLongitudeText = "004:53.000E";
constexpr int32_t PreviousLongitude = 488333;

struct BoundTextCase {
    std::string what;
    std::string text;
    bool latitude;        // tried as the top bound, else as the left bound
    const char* compact;  // the compact form; null when the text is not converted
    int32_t value;        // the bound's number afterwards
};

inline std::vector<BoundTextCase> BoundTextCases() {
    const int32_t lat = PreviousLatitude, lon = PreviousLongitude;
    return {
        {"colon at 0", ":30.000N", true, nullptr, lat},
        {"colon at 0, longitude", ":004:53.000E", false, nullptr, lon},
        {"colon at 1", "5:30.000N", true, nullptr, lat},
        {"colon at 1, longitude", "4:53.000E", false, nullptr, lon},
        {"colon at 4", "0052:30.000N", true, nullptr, lat},
        {"colon at 4, longitude", "0004:53.000E", false, nullptr, lon},
        {"no colon", "5230.000N", true, nullptr, lat},
        {"empty", "", true, nullptr, lat},
        {"no point", "52:30000N", true, nullptr, lat},
        {"comma for point", "52:30,000N", true, nullptr, lat},
        {"no point, longitude", "004:53000E", false, nullptr, lon},
        {"point one early", "52:3.0000N", true, nullptr, lat},
        {"point one late", "004:530.00E", false, nullptr, lon},
        {"letters for degrees", "ab:30.000N", true, "ab50000N", 0},
        {"a letter in the degrees", "5x:30.000N", true, "5x50000N", 5},
        {"letters for minutes", "52:ab.cdeN", true, "5200000N", 5200000},
        {"a letter in the minutes", "004:5x.000E", false, "00408333E", 408333},
        {"letters for the longitude's degrees", "xyz:00.000E", false, "xyz00000E", 0},
        {"lower-case n", "52:30.000n", true, nullptr, lat},
        {"lower-case s", "52:30.000s", true, nullptr, lat},
        {"lower-case e", "004:53.000e", false, nullptr, lon},
        {"lower-case w", "004:53.000w", false, nullptr, lon},
        {"no hemisphere", "52:30.000", true, nullptr, lat},
        {"no hemisphere, longitude", "004:53.000", false, nullptr, lon},
        {"a longitude's letter on a latitude", "52:30.000E", true, nullptr, lat},
        {"a latitude's letter on a longitude", "004:53.000N", false, nullptr, lon},
        {"NN", "52:30.000NN", true, "5250000N", 5250000},
        {"SS", "52:30.000SS", true, "5250000S", -5250000},
        {"SN: N wins wherever it stands", "52:30.000SN", true, "5250000N", 5250000},
        {"WE: E wins", "004:53.000WE", false, "00488333E", 488333},
        {"WW", "004:53.000WW", false, "00488333W", -488333},
        {"N among 21 more", "52:30.000" + std::string(22, 'N'), true, "5250000N", 5250000},
        {"999 degrees east", "999:00.000E", false, "99900000E", 99900000},
        {"999 degrees west, 99.999 minutes", "999:99.999W", false, "999166665W", -999166665},
        {"999 degrees north: a longitude's shape", "999:00.000N", true, nullptr, lat},
        {"99 degrees north", "99:00.000N", true, "9900000N", 9900000},
        // Minutes join the degrees as digits; 60 or more give six digits, a hundredfold value.
        {"99 minutes", "52:99.000N", true, "52165000N", 52165000},
        {"99.999 minutes east", "004:99.999E", false, "004166665E", 4166665},
        {"99 minutes south of the equator", "00:99.000S", true, "00165000S", -165000},
        {"a sign in the degrees", "-5:30.000N", true, "-550000N", -550000},
        {"a sign in the minutes", "52:-3.000N", true, "52-5000N", 52},
    };
}

// ---------------------------------------------------------------------------------------------
// Setup rows

struct RowTexts {
    std::string deg, min, thou, hemi;  // at most 3, 3, 4 and 1 characters, as the edits hold
};

// The rows before the row under test, top, bottom, left, right, and their numbers.
inline std::array<RowTexts, 4> DefaultRows() {
    return {{{"53", "00", "000", "N"}, {"52", "00", "000", "N"}, {"004", "00", "000", "E"},
             {"006", "00", "000", "E"}}};
}
constexpr std::array<int32_t, 4> DefaultValues = {5300000, 5200000, 400000, 600000};

struct SetupRowCase {
    std::string what;
    std::vector<std::pair<int, RowTexts>> rows;  // rows that differ from DefaultRows
    int error;            // CheckSetupRows's answer
    std::string bound;    // the first changed row's composed bound text
    int32_t value;        // its number after the area is recomputed from the texts
};

inline std::vector<SetupRowCase> SetupRowCases() {
    const auto& d = DefaultValues;
    return {
        {"letters for digits", {{0, {"ab", "cd", "efg", "N"}}}, 0, "00:00.000N", 0},
        {"letters in a longitude", {{2, {"x4", "0y", "zzzz", "E"}}}, 0, "000:00.000E", 0},
        {"letters in both latitude rows", {{0, {"ab", "cd", "efg", "N"}}, {1, {"x", "", "y", "S"}}},
         2, "00:00.000N", 0},
        {"letters in both longitude rows", {{2, {"ab", "", "", "E"}}, {3, {"", "-", "+", "W"}}},
         3, "000:00.000E", 0},
        {"a letter after a digit", {{0, {"5x", "3y", "5z", "N"}}}, 0, "05:03.005N", 505008},
        {"lower-case n", {{0, {"52", "30", "500", "n"}}}, 0, "52:30.500N", 5250833},
        {"lower-case w", {{3, {"006", "00", "000", "w"}}}, 0, "006:00.000W", -600000},
        // A missing or wrong letter is reported, and the area keeps the bound's last value.
        {"no hemisphere on top", {{0, {"53", "00", "000", ""}}}, 4, "53:00.000", d[0]},
        {"no hemisphere at the bottom", {{1, {"52", "00", "000", ""}}}, 5, "52:00.000", d[1]},
        {"no hemisphere on the left", {{2, {"004", "00", "000", ""}}}, 6, "004:00.000", d[2]},
        {"no hemisphere on the right", {{3, {"006", "00", "000", ""}}}, 7, "006:00.000", d[3]},
        {"E on top", {{0, {"53", "00", "000", "E"}}}, 4, "53:00.000E", d[0]},
        {"N on the left", {{2, {"004", "00", "000", "N"}}}, 6, "004:00.000N", d[2]},
        {"a blank for the letter", {{1, {"52", "00", "000", " "}}}, 5, "52:00.000 ", d[1]},
        {"two letters typed: one is kept", {{0, {"53", "00", "000", "NS"}}}, 0, "53:00.000N",
         5300000},
        {"a letter among the thousandths", {{0, {"53", "00", "000S", "N"}}}, 0, "53:00.000N",
         5300000},
        // Out of range: reported; the area then takes what the composed text converts to.
        {"999 degrees on top", {{0, {"999", "00", "000", "N"}}}, 8, "999:00.000N", d[0]},
        {"999 degrees at the bottom", {{1, {"999", "00", "000", "S"}}}, 9, "999:00.000S", d[1]},
        {"999 degrees on the left", {{2, {"999", "00", "000", "E"}}}, 10, "999:00.000E", 99900000},
        {"999 degrees on the right", {{3, {"999", "00", "000", "W"}}}, 11, "999:00.000W",
         -99900000},
        {"90 degrees north", {{0, {"90", "00", "000", "N"}}}, 8, "90:00.000N", 9000000},
        {"99 minutes on top", {{0, {"52", "99", "000", "N"}}}, 8, "52:99.000N", 52165000},
        {"99 minutes on the left", {{2, {"004", "99", "000", "E"}}}, 10, "004:99.000E", 4165000},
        {"60 minutes at the bottom", {{1, {"51", "60", "000", "N"}}}, 9, "51:60.000N", 51100000},
        {"negative degrees", {{0, {"-5", "00", "000", "N"}}}, 8, "-5:00.000N", -500000},
        {"negative minutes", {{0, {"52", "-1", "000", "N"}}}, 8, "52:-1.000N", 52},
        {"negative thousandths pass", {{0, {"53", "00", "-5", "N"}}}, 0, "53:00.-05N", 5300000},
        // The edits' text is read as numbers only: colons and points in it end the number.
        {"colon at 1 of the degrees", {{0, {"5:3", "00", "000", "N"}}}, 0, "05:00.000N", 500000},
        {"colon at 0 of the degrees", {{0, {":52", "00", "000", "N"}}}, 0, "00:00.000N", 0},
        {"a point in the minutes", {{0, {"52", "3.5", "000", "N"}}}, 0, "52:03.000N", 5205000},
        {"four digits of thousandths", {{0, {"53", "00", "9999", "N"}}}, 0, "53:00.9999N",
         5301667},
        {"blanks before the numbers", {{0, {" 52", " 30", " 50", "N"}}}, 0, "52:30.050N", 5250083},
    };
}

}  // namespace hostile
