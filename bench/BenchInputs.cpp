// The benchmark's inputs: the full table, the scratch folder and the backdrop files.
#include "BenchInputs.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "map/Bitmap.h"
#include "model/Project.h"

const BenchBackdrop benchBackdrops[BenchBackdropCount] = {
    {"bd2048x8.bmp", 2048, 8},
    {"bd2048x24.bmp", 2048, 24},
    {"bd8192x8.bmp", 8192, 8},
    {"bd8192x24.bmp", 8192, 24},
};
const BenchBackdrop& benchMainBackdrop = benchBackdrops[3];
const BenchBackdrop benchLargestBackdrop = {"bd16384x24.bmp", 16384, 24};

const char* const benchBoundTexts[4] = {"56:00.000N", "47:00.000N", "002:00.000E", "016:26.400E"};

namespace {

// About 1000 km square: a full table at the Automatic dialog's preset density of 4 thermals per
// 100 sq.km covers that much.
constexpr int32_t AreaSouth = 4700000;
constexpr int32_t AreaLatSpan = 900000;
constexpr int32_t AreaWest = 200000;
constexpr int32_t AreaLonSpan = 1444000;

// A fixed generator, so that every run measures the same table.
class BenchRandom {
public:
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int Between(int low, int high) { return low + static_cast<int>(Next() % static_cast<uint32_t>(high - low + 1)); }

private:
    uint32_t state = 12345u;
};

void PutU16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(uint8_t* p, uint32_t v) {
    PutU16(p, v & 0xFFFF);
    PutU16(p + 2, v >> 16);
}

}  // namespace

std::string MakeScratchFolder() {
    char temp[MAX_PATH];
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) return std::string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char folder[MAX_PATH + 64];
        std::snprintf(folder, sizeof folder, "%sascendor-bench-%lu-%d", temp,
                      static_cast<unsigned long>(GetCurrentProcessId()), attempt);
        if (CreateDirectoryA(folder, nullptr)) return folder;
    }
    return std::string();
}

void RemoveScratchFolder(const std::string& folder) {
    if (folder.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

void FillBenchTable(const char* backdropFileName) {
    CopyText(backdropName, BackdropNameSize, backdropFileName);
    char* const bounds[4] = {areaTopText, areaBottomText, areaLeftText, areaRightText};
    for (int k = 0; k < 4; ++k) CopyText(bounds[k], BoundTextSize, benchBoundTexts[k]);

    BenchRandom random;
    for (int i = 0; i < MaxThermals; ++i) {
        Thermal& t = thermals[i];
        t = Thermal{};
        t.lat = AreaSouth + random.Between(0, AreaLatSpan);
        t.lon = AreaWest + random.Between(0, AreaLonSpan);
        bool byHand = i % 4 == 3;
        t.type = byHand ? 1 + (i / 4) % 3 : 4;
        t.bottom = byHand ? random.Between(0, 500) : 0;
        t.top = random.Between(1500, 3000);
        t.radius = byHand ? random.Between(200, 1500) : 2 * random.Between(500, 1000);
        t.windDir = byHand ? random.Between(0, 359) : 0;
        t.factor = byHand ? random.Between(1, 9) : 0;
        t.cloudOn = static_cast<uint8_t>(i % 2);
        t.cloudParam = 0;
        t.cloudCeiling = t.top;
        t.cloudSize = byHand ? 2 * random.Between(200, 1000) : t.radius;
        t.cloudType = random.Between(1, 20);
    }
    thermalCount = MaxThermals;
    NoteTableChange();
}

bool WriteBenchBitmap(const std::string& path, int side, int bitCount) {
    const int64_t rowSize = BitmapRowSize(side, bitCount);
    const uint32_t tableBytes = bitCount == 24 ? 0 : 4u << bitCount;
    const uint32_t pixelOffset = 54 + tableBytes;
    const int64_t fileSize = pixelOffset + rowSize * side;

    uint8_t headers[54] = {};
    headers[0] = 'B';
    headers[1] = 'M';
    PutU32(headers + 2, static_cast<uint32_t>(fileSize));
    PutU32(headers + 10, pixelOffset);
    PutU32(headers + 14, 40);
    PutU32(headers + 18, static_cast<uint32_t>(side));
    PutU32(headers + 22, static_cast<uint32_t>(side));  // positive: bottom row first
    PutU16(headers + 26, 1);
    PutU16(headers + 28, static_cast<uint32_t>(bitCount));
    PutU32(headers + 34, static_cast<uint32_t>(rowSize * side));
    PutU32(headers + 38, 2835);
    PutU32(headers + 42, 2835);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(headers, 1, sizeof headers, file) == sizeof headers;
    if (tableBytes > 0) {
        // Greens and browns of a landscape map.
        std::vector<uint8_t> table(tableBytes);
        for (uint32_t c = 0; c < tableBytes / 4; ++c) {
            table[4 * c + 0] = static_cast<uint8_t>(c / 3);
            table[4 * c + 1] = static_cast<uint8_t>(96 + c * 5 / 8);
            table[4 * c + 2] = static_cast<uint8_t>(c);
        }
        ok = ok && std::fwrite(table.data(), 1, table.size(), file) == table.size();
    }
    // Soft gradients with a grid of roads, so that a reduced picture is not one flat colour.
    std::vector<uint8_t> row(static_cast<size_t>(rowSize), 0);
    for (int y = 0; ok && y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            bool road = (x % 512) < 3 || (y % 512) < 3;
            uint8_t shade = static_cast<uint8_t>(((x >> 4) + (y >> 5) + ((x ^ y) & 15)) & 0xFF);
            if (bitCount == 24) {
                uint8_t* p = &row[static_cast<size_t>(x) * 3];
                p[0] = road ? 40 : static_cast<uint8_t>(shade / 3);
                p[1] = road ? 40 : static_cast<uint8_t>(96 + shade * 5 / 8);
                p[2] = road ? 40 : shade;
            } else {
                row[static_cast<size_t>(x)] = road ? 0 : shade;
            }
        }
        ok = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

int64_t BenchPixelBytes(const BenchBackdrop& backdrop) {
    return BitmapRowSize(backdrop.side, backdrop.bitCount) * backdrop.side;
}
