// The backdrop reader: uncompressed BMP files of 1, 4, 8 or 24 bits per pixel, and of 32 bits with
// a 40-, 108- or 124-byte information header, held top row first behind an info block that GDI
// can draw from. A colour table follows the information header, whatever its size.
#include "map/Bitmap.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "model/FileNames.h"
#include "model/Project.h"
#include "model/SafeFile.h"

Backdrop backdrop;
uint32_t backdropLoadCount;

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr int HeadersSize = FileHeaderSize + InfoHeaderSize;
constexpr int TrueColourInfoSize = 44;  // 24 and 32 bits: header and 4 spare bytes
constexpr int LargestInfoSize = 124;
constexpr uint32_t BitFields = 3;  // the compression of 32-bit rows described by colour masks

// A 32-bit process rarely finds a free block much above 1 GiB in its address space; larger
// pictures are refused rather than failing halfway.
constexpr int64_t MaxPixelBytes = int64_t{1} << 30;

// Offsets inside the information header (and so inside the info block).
constexpr int InfoSizeField = 0;
constexpr int InfoHeightField = 8;
constexpr int InfoCompressionField = 16;
constexpr int InfoColoursUsedField = 32;
constexpr int InfoMasksField = 40;  // red, green, blue: in the larger headers or after the 40-byte one

// The size the last load's header claimed, for the reason of a refusal as too large.
int64_t claimedWidth, claimedHeight, claimedBytes;

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int32_t ReadI32(const uint8_t* p) {
    uint32_t u = ReadU32(p);
    return u <= 0x7FFFFFFFu ? static_cast<int32_t>(u)
                            : static_cast<int32_t>(static_cast<int64_t>(u) - 0x100000000LL);
}

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void WriteU32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

class FileCloser {
public:
    explicit FileCloser(FILE* file) : file(file) {}
    ~FileCloser() { std::fclose(file); }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;
private:
    FILE* file;
};

bool SeekTo(FILE* file, int64_t offset) {
    return offset >= 0 && offset <= 0x7FFFFFFF && std::fseek(file, static_cast<long>(offset),
                                                             SEEK_SET) == 0;
}

bool ReadExactly(FILE* file, uint8_t* target, int64_t count) {
    if (count == 0) return true;
    return std::fread(target, 1, static_cast<size_t>(count), file) == static_cast<size_t>(count);
}

// The answer of a read that came up short: the file ended early, or reading it failed.
int ShortReadResult(FILE* file) { return std::ferror(file) ? LoadCannotOpen : LoadCutShort; }

}  // namespace

int64_t BitmapRowSize(int64_t width, int64_t bitCount) {
    if (width < 0 || bitCount < 0) return -1;  // no row has a negative size
    if (bitCount != 0 && width > (INT64_MAX - 31) / bitCount) return -1;
    return (width * bitCount + 31) / 32 * 4;
}

namespace {

// What the headers of a file the reader takes say, checked against the file's size; the file
// stands just past the headers read.
struct Layout {
    uint8_t info[InfoHeaderSize];
    uint32_t pixelOffset;
    int32_t width, height, bitCount;
    bool bottomUp;
    int64_t rowSize, pixelBytes, tableBytes, tableOffset;
};

int ReadLayout(FILE* file, Layout& layout) {
    uint8_t headers[FileHeaderSize + LargestInfoSize];
    size_t got = std::fread(headers, 1, sizeof headers, file);
    if (got < 2 || headers[0] != 'B' || headers[1] != 'M') return got < 2 && std::ferror(file) ? LoadCannotOpen : LoadNotBitmap;
    if (got < HeadersSize) return ShortReadResult(file);

    const uint8_t* info = headers + FileHeaderSize;
    uint32_t pixelOffset = ReadU32(headers + 10);
    uint32_t infoSize = ReadU32(info + InfoSizeField);
    int32_t width = ReadI32(info + 4);
    int32_t fileHeight = ReadI32(info + 8);
    int32_t bitCount = ReadU16(info + 14);
    uint32_t compression = ReadU32(info + InfoCompressionField);

    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return LoadUnreadable;
    if (bitCount == 32) {
        // Only the layouts GDI draws as blue, green, red and a spare byte: uncompressed, or bit
        // fields that say exactly that.
        if (infoSize != InfoHeaderSize && infoSize != 108 && infoSize != LargestInfoSize) return LoadUnreadable;
        if (compression == BitFields) {
            size_t needed = FileHeaderSize + InfoMasksField + 12;
            if (got < needed) return ShortReadResult(file);
            if (ReadU32(info + InfoMasksField) != 0xFF0000u || ReadU32(info + InfoMasksField + 4) != 0xFF00u ||
                ReadU32(info + InfoMasksField + 8) != 0xFFu) {
                return LoadUnreadable;
            }
        } else if (compression != 0) {
            return LoadCompressed;
        }
    } else if (compression != 0) {
        return LoadCompressed;
    }
    // INT32_MIN has no positive counterpart, so it is no height either.
    if (width <= 0 || fileHeight == 0 || fileHeight == INT32_MIN) return LoadUnreadable;
    int32_t height = fileHeight < 0 ? -fileHeight : fileHeight;

    int64_t rowSize = BitmapRowSize(width, bitCount);
    if (rowSize <= 0 || rowSize > INT32_MAX) return LoadUnreadable;
    int64_t pixelBytes = rowSize * height;  // both below 2^31: no overflow
    claimedWidth = width, claimedHeight = height, claimedBytes = pixelBytes;
    if (pixelBytes > MaxPixelBytes) return LoadTooLarge;
    int64_t tableBytes = bitCount >= 24 ? 0 : int64_t{4} << bitCount;
    // The colour table lies right behind the information header; a header that claims less than
    // the 40 bytes read from it is taken as 40 bytes long.
    const int64_t tableOffset = FileHeaderSize + int64_t{infoSize < InfoHeaderSize ? InfoHeaderSize : infoSize};

    // Check the sizes against the file before allocating anything, so that a huge header on a
    // small file costs nothing.
    int64_t fileSize = FileSizeOf(file);
    if (fileSize < 0) return LoadCannotOpen;
    if (tableOffset + tableBytes > fileSize) return LoadCutShort;
    if (pixelOffset > fileSize || pixelBytes > fileSize - pixelOffset) return LoadCutShort;

    std::memcpy(layout.info, info, InfoHeaderSize);
    layout.pixelOffset = pixelOffset;
    layout.width = width;
    layout.height = height;
    layout.bitCount = bitCount;
    layout.bottomUp = fileHeight > 0;
    layout.rowSize = rowSize;
    layout.pixelBytes = pixelBytes;
    layout.tableBytes = tableBytes;
    layout.tableOffset = tableOffset;
    return LoadOk;
}

int ReadTable(FILE* file, const Layout& layout, uint8_t* table) {
    if (layout.tableBytes == 0) return LoadOk;
    if (!SeekTo(file, layout.tableOffset) || !ReadExactly(file, table, layout.tableBytes)) return ShortReadResult(file);
    return LoadOk;
}

}  // namespace

int LoadBackdrop(const char* fileName) {
    FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) return LoadCannotOpen;
    FileCloser closer(file);

    Layout layout;
    int read = ReadLayout(file, layout);
    if (read != LoadOk) return read;
    const int64_t rowSize = layout.rowSize, pixelBytes = layout.pixelBytes, tableBytes = layout.tableBytes;
    const int32_t width = layout.width, height = layout.height;

    std::vector<uint8_t> newInfo;
    std::vector<uint8_t> newPixels;
    try {
        newInfo.assign(layout.bitCount >= 24 ? TrueColourInfoSize : InfoHeaderSize + tableBytes, 0);
        newPixels.resize(static_cast<size_t>(pixelBytes));
    } catch (const std::bad_alloc&) {
        return LoadTooLarge;
    }

    std::memcpy(newInfo.data(), layout.info, InfoHeaderSize);
    read = ReadTable(file, layout, newInfo.data() + InfoHeaderSize);
    if (read != LoadOk) return read;

    if (!SeekTo(file, layout.pixelOffset)) return LoadCutShort;
    if (!layout.bottomUp) {
        if (!ReadExactly(file, newPixels.data(), pixelBytes)) return ShortReadResult(file);
    } else {
        // Stored bottom row first: the file's first row becomes the buffer's last.
        for (int64_t row = height - 1; row >= 0; --row) {
            if (!ReadExactly(file, newPixels.data() + row * rowSize, rowSize)) {
                return ShortReadResult(file);
            }
        }
    }

    // The info block describes exactly what it holds, so that drawing never reads past it:
    // a 40-byte header, rows top row first, and no more colours than the table it carries.
    uint8_t* header = newInfo.data();
    WriteU32(header + InfoSizeField, InfoHeaderSize);
    WriteU32(header + InfoCompressionField, 0);  // masks, if any, said what plain rows mean
    WriteU32(header + InfoHeightField, static_cast<uint32_t>(-static_cast<int64_t>(height)));
    uint32_t tableEntries = static_cast<uint32_t>(tableBytes / 4);
    if (ReadU32(header + InfoColoursUsedField) > tableEntries) {
        WriteU32(header + InfoColoursUsedField, tableEntries);
    }

    backdrop.width = width;
    backdrop.height = height;
    backdrop.bitCount = layout.bitCount;
    backdrop.rowSize = static_cast<int32_t>(rowSize);
    backdrop.pixels.swap(newPixels);
    backdrop.info.swap(newInfo);
    backdrop.palette = tableBytes > 0 ? backdrop.info.data() + InfoHeaderSize : nullptr;

    backdropWidth = width;
    backdropHeight = height;
    backdropLoaded = 1;
    ++backdropLoadCount;
    return LoadOk;
}

namespace {

// Brightness of a colour, 0 to 255, rounded: the weights of the luma of television.
inline uint32_t Luma(uint32_t red, uint32_t green, uint32_t blue) {
    return (299 * red + 587 * green + 114 * blue + 500) / 1000;
}

// The block sums of one row of reduced samples, filled pixel by pixel from the west.
struct BlockRow {
    uint64_t* sums;
    int64_t factor;
    int64_t column = 0;  // reduced column of the next pixel
    int64_t inBlock = 0;  // pixels of it already added
    void Add(uint32_t brightness) {
        sums[column] += brightness;
        if (++inBlock == factor) inBlock = 0, ++column;
    }
};

// Adds count pixels from bytes (the first pixel at the first byte's top bits).
void AddPixels(BlockRow& row, const uint8_t* bytes, int64_t count, int bitCount, const uint8_t* tableLuma) {
    switch (bitCount) {
    case 24:
        for (int64_t i = 0; i < count; ++i, bytes += 3) row.Add(Luma(bytes[2], bytes[1], bytes[0]));
        break;
    case 32:
        for (int64_t i = 0; i < count; ++i, bytes += 4) row.Add(Luma(bytes[2], bytes[1], bytes[0]));
        break;
    case 8:
        for (int64_t i = 0; i < count; ++i) row.Add(tableLuma[bytes[i]]);
        break;
    default: {  // 1 or 4 bits, the first pixel of a byte in its top bits
        const int perByte = 8 / bitCount, mask = (1 << bitCount) - 1;
        for (int64_t i = 0; i < count; ++i) {
            const int shift = 8 - bitCount * (1 + static_cast<int>(i % perByte));
            row.Add(tableLuma[bytes[i / perByte] >> shift & mask]);
        }
        break;
    }
    }
}

}  // namespace

int LoadBrightness(const char* fileName, int32_t longestSide, Brightness& into) {
    FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) return LoadCannotOpen;
    FileCloser closer(file);

    Layout layout;
    int read = ReadLayout(file, layout);
    if (read != LoadOk) return read;
    uint8_t table[1024] = {};
    read = ReadTable(file, layout, table);
    if (read != LoadOk) return read;
    uint8_t tableLuma[256] = {};
    for (int k = 0; k < layout.tableBytes / 4; ++k)
        tableLuma[k] = static_cast<uint8_t>(Luma(table[4 * k + 2], table[4 * k + 1], table[4 * k]));

    const int64_t width = layout.width, height = layout.height;
    const int64_t side = longestSide > 0 ? longestSide : 1;
    const int64_t factor = ((width > height ? width : height) + side - 1) / side;
    const int64_t reducedWidth = (width + factor - 1) / factor, reducedHeight = (height + factor - 1) / factor;
    // Whole pixels in every chunk of a row, at any depth: a multiple of 3 and of 4 bytes.
    constexpr int64_t ChunkBytes = 12 * 65536;
    const int64_t chunkBytes = layout.rowSize < ChunkBytes ? layout.rowSize : ChunkBytes;
    Brightness made;
    std::vector<uint64_t> sums;
    std::vector<uint8_t> chunk;
    try {
        made.values.resize(static_cast<size_t>(reducedWidth * reducedHeight));
        sums.assign(static_cast<size_t>(reducedWidth), 0);
        chunk.resize(static_cast<size_t>(chunkBytes));
    } catch (const std::bad_alloc&) {
        return LoadTooLarge;
    }

    if (!SeekTo(file, layout.pixelOffset)) return LoadCutShort;
    // The rows come as the file stores them, one after the other; a block of rows is complete at
    // its last row in the order read.
    for (int64_t fileRow = 0; fileRow < height; ++fileRow) {
        const int64_t row = layout.bottomUp ? height - 1 - fileRow : fileRow;
        BlockRow sumRow{sums.data(), factor};
        int64_t pixel = 0;
        for (int64_t done = 0; done < layout.rowSize; done += chunkBytes) {
            const int64_t bytes = layout.rowSize - done < chunkBytes ? layout.rowSize - done : chunkBytes;
            if (!ReadExactly(file, chunk.data(), bytes)) return ShortReadResult(file);
            int64_t count = bytes * 8 / layout.bitCount;
            if (count > width - pixel) count = width - pixel;
            if (count <= 0) continue;  // the row's padding
            AddPixels(sumRow, chunk.data(), count, layout.bitCount, tableLuma);
            pixel += count;
        }
        const int64_t block = row / factor, firstRow = block * factor;
        const int64_t endRow = firstRow + factor < height ? firstRow + factor : height;
        if (row != (layout.bottomUp ? firstRow : endRow - 1)) continue;
        uint8_t* out = made.values.data() + block * reducedWidth;
        for (int64_t c = 0; c < reducedWidth; ++c) {
            const int64_t endColumn = (c + 1) * factor < width ? (c + 1) * factor : width;
            const uint64_t count = static_cast<uint64_t>((endColumn - c * factor) * (endRow - firstRow));
            out[c] = static_cast<uint8_t>((sums[c] + count / 2) / count);
            sums[c] = 0;
        }
    }
    made.width = static_cast<int32_t>(reducedWidth);
    made.height = static_cast<int32_t>(reducedHeight);
    std::swap(into, made);
    return LoadOk;
}

std::string BitmapFailureText(const char* what, const char* name, int result) {
    std::string reason;
    switch (result) {
    case LoadCannotOpen: reason = "the file cannot be read"; break;
    case LoadCutShort: reason = "the file is shorter than its header says"; break;
    case LoadCompressed: reason = "it is a compressed bitmap, which this program does not read"; break;
    case LoadTooLarge: {
        char text[160];
        std::snprintf(text, sizeof text,
                      "its picture of %lld x %lld pixels needs %lld MB of memory, more than this program can have",
                      static_cast<long long>(claimedWidth), static_cast<long long>(claimedHeight),
                      static_cast<long long>((claimedBytes + (1 << 20) - 1) >> 20));
        reason = text;
        break;
    }
    default: reason = "it is not a Windows bitmap with 1, 4, 8, 24 or 32 bits per pixel"; break;
    }
    return std::string("Could not load the ") + what + " " + ShortenedName(name) + ": " + reason + ".";
}

std::string BackdropFailureText(const char* name, int result) { return BitmapFailureText("backdrop", name, result); }
