// The backdrop reader, on files made here.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "map/Bitmap.h"
#include "model/Project.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, size_t at, uint32_t v, int size = 4) {
    for (int i = 0; i < size; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Top-first row r holds bytes r*31 + k*7 + 1; a positive height stores the rows bottom first.
// gap puts bytes between the colour table and the pixels.
Bytes MakeBmp(int32_t width, int32_t height, int bits, uint32_t gap = 0, bool pixelsOnly = false) {
    int32_t rows = height < 0 ? -height : height, rowSize = (width * bits + 31) / 32 * 4;
    uint32_t offset = pixelsOnly ? 0 : 54 + (bits == 24 ? 0 : 4u << bits) + gap;
    Bytes b(offset + static_cast<size_t>(rowSize) * rows, 0);
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t k = 0; k < rowSize; ++k)
            b[offset + (pixelsOnly || height < 0 ? r : rows - 1 - r) * rowSize + k] =
                static_cast<uint8_t>(r * 31 + k * 7 + 1);
    if (pixelsOnly) return b;
    b[0] = 'B', b[1] = 'M';
    Put(b, 10, offset), Put(b, 14, 40), Put(b, 18, width), Put(b, 22, height);
    Put(b, 26, 1, 2), Put(b, 28, bits, 2);
    for (uint32_t i = 54; i < offset - gap; ++i) b[i] = static_cast<uint8_t>(i * 3);
    return b;
}

class BitmapTest : public ::testing::Test {
protected:
    void TearDown() override {
        std::remove(path.c_str());
        backdrop = Backdrop{};
        backdropWidth = backdropHeight = backdropLoaded = 0;
    }
    int Load(const Bytes& bytes) {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) return -1;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return LoadBackdrop(path.c_str());
    }
    std::string path = ::testing::TempDir() + "ascendor_backdrop_test.bmp";
};

TEST_F(BitmapTest, DepthsAndRowOrders) {
    const struct { int64_t width, bits, rowSize; } sizes[] = {
        {5, 24, 16}, {5, 8, 8}, {33, 1, 8}, {9, 4, 8}, {INT64_MAX / 2, 24, -1}};
    for (const auto& c : sizes) EXPECT_EQ(BitmapRowSize(c.width, c.bits), c.rowSize) << c.bits;

    for (int bits : {1, 4, 8, 24}) {
        for (int32_t height : {3, -3}) {
            ASSERT_EQ(Load(MakeBmp(5, height, bits)), LoadOk);
            EXPECT_EQ(backdrop.pixels, MakeBmp(5, 3, bits, 0, true)) << bits << "/" << height;
            EXPECT_EQ(std::make_tuple(backdropWidth, backdropHeight, backdropLoaded),
                      std::make_tuple(5, 3, 1));
            EXPECT_EQ(backdrop.info.size(), bits == 24 ? 44u : 40u + (4u << bits));
            EXPECT_EQ(backdrop.info[8] | backdrop.info[11] << 8, 0xFFFD);  // height -3
        }
    }
}

TEST_F(BitmapTest, ColourTableFromOffset54AndASmallerSecondPicture) {
    Bytes file = MakeBmp(4, 2, 8, 16);
    Put(file, 46, 2);  // colours used: the whole table is read all the same
    ASSERT_EQ(Load(file), LoadOk);
    EXPECT_EQ(Bytes(backdrop.palette, backdrop.palette + 1024), Bytes(&file[54], &file[1078]));
    EXPECT_EQ(backdrop.pixels, MakeBmp(4, 2, 8, 0, true));
    ASSERT_EQ(Load(MakeBmp(2, -1, 24)), LoadOk);
    EXPECT_EQ(std::make_tuple(backdropWidth, backdropHeight), std::make_tuple(2, 1));
}

TEST_F(BitmapTest, RefusedFilesLeaveThePreviousPicture) {
    ASSERT_EQ(Load(MakeBmp(7, 3, 24)), LoadOk);
    const Backdrop before = backdrop;
    const struct { const char* what; std::function<void(Bytes&)> spoil; int result; } cases[] = {
        {"not BM", [](Bytes& b) { b[1] = 'X'; }, LoadNotBitmap},
        {"empty", [](Bytes& b) { b.clear(); }, LoadNotBitmap},
        {"cut in the headers", [](Bytes& b) { b.resize(40); }, LoadUnreadable},
        {"compressed", [](Bytes& b) { Put(b, 30, 1); }, LoadUnreadable},
        {"16 bits", [](Bytes& b) { Put(b, 28, 16, 2); }, LoadUnreadable},
        {"32 bits", [](Bytes& b) { Put(b, 28, 32, 2); }, LoadUnreadable},
        {"zero width", [](Bytes& b) { Put(b, 18, 0); }, LoadUnreadable},
        {"negative width", [](Bytes& b) { Put(b, 18, -4); }, LoadUnreadable},
        {"zero height", [](Bytes& b) { Put(b, 22, 0); }, LoadUnreadable},
        {"lowest height", [](Bytes& b) { Put(b, 22, 0x80000000u); }, LoadUnreadable},
        {"row overflows", [](Bytes& b) { Put(b, 18, 0x7FFFFFFFu); }, LoadUnreadable},
        {"above 1 GiB", [](Bytes& b) { Put(b, 18, 20000), Put(b, 22, 20000), Put(b, 28, 24, 2); },
         LoadUnreadable},
        {"beyond the file", [](Bytes& b) { Put(b, 18, 20000), Put(b, 22, 20000); }, LoadUnreadable},
        {"cut in the colour table", [](Bytes& b) { b.resize(554); }, LoadUnreadable},
        {"cut in the pixels", [](Bytes& b) { b.pop_back(); }, LoadUnreadable},
        {"pixels past the end", [](Bytes& b) { Put(b, 10, b.size() + 1); }, LoadUnreadable},
    };
    for (const auto& c : cases) {
        Bytes file = MakeBmp(4, 2, 8);
        c.spoil(file);
        EXPECT_EQ(Load(file), c.result) << c.what;
        EXPECT_EQ(std::make_tuple(backdropWidth, backdropHeight, backdropLoaded),
                  std::make_tuple(7, 3, 1))
            << c.what;
        EXPECT_TRUE(backdrop.pixels == before.pixels && backdrop.info == before.info) << c.what;
    }
    EXPECT_EQ(LoadBackdrop((path + ".none").c_str()), LoadCannotOpen);
}

}  // namespace
