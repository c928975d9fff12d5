// The reduced copies of the backdrop: sizes, 2 x 2 averages at odd edges, and the memory bound.
#include <gtest/gtest.h>

#include <vector>

#include "map/Pyramid.h"

namespace {

// A picture of the given depth whose bytes follow a pattern, with a colour table of distinct
// colours below 24 bits.
Backdrop MakePicture(int32_t width, int32_t height, int bits) {
    Backdrop b;
    b.width = width, b.height = height, b.bitCount = bits, b.rowSize = static_cast<int32_t>(BitmapRowSize(width, bits));
    b.pixels.resize(static_cast<size_t>(b.rowSize) * height);
    for (size_t i = 0; i < b.pixels.size(); ++i) b.pixels[i] = static_cast<uint8_t>(i * 37 + i / 7);
    b.info.assign(bits >= 24 ? 44 : 40 + (4u << bits), 0);
    for (size_t i = 40; bits < 24 && i < b.info.size(); ++i) b.info[i] = static_cast<uint8_t>(i * 11);
    b.palette = bits >= 24 ? nullptr : b.info.data() + 40;
    return b;
}

using Plane = std::vector<std::vector<std::vector<int>>>;  // [y][x][channel]

// One halving done the plain way: each pixel the rounded mean of the pixels of its 2 x 2 block.
Plane Halve(const Plane& p) {
    const size_t h = p.size(), w = p[0].size();
    Plane out((h + 1) / 2, std::vector<std::vector<int>>((w + 1) / 2, std::vector<int>(3)));
    for (size_t y = 0; y < out.size(); ++y)
        for (size_t x = 0; x < out[0].size(); ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0, n = 0;
                for (size_t yy = 2 * y; yy < 2 * y + 2 && yy < h; ++yy)
                    for (size_t xx = 2 * x; xx < 2 * x + 2 && xx < w; ++xx) sum += p[yy][xx][c], ++n;
                out[y][x][c] = (sum + n / 2) / n;
            }
    return out;
}

TEST(PyramidTest, LevelsAreHalvedAveragesWithinTheirShareOfThePicture) {
    const struct { int32_t width, height; int bits; int32_t fitWidth, fitHeight; std::vector<int> halvings; } cases[] = {
        {5, 3, 24, 1, 1, {2, 3}},          // 3x2 would pass the bound; 2x1 and 1x1 fill it exactly
        {64, 48, 24, 10, 10, {2, 3}},      // the half-size copy alone is the whole share
        {64, 48, 32, 10, 10, {1, 2, 3}},   // 32 bits: the fourth byte is left out
        {33, 17, 8, 4, 4, {3, 4}},         // at 8 bits the first copies are too large
        {64, 16, 1, 2, 2, {4, 5}},         // at 1 bit only the smallest fit
        {9, 9, 4, 9, 9, {}},               // already fits: nothing to make
    };
    for (const auto& k : cases) {  // halvings: of the kept copies, largest first
        SCOPED_TRACE(testing::Message() << k.width << "x" << k.height << " at " << k.bits << " bits");
        Backdrop picture = MakePicture(k.width, k.height, k.bits);
        Pyramid p;
        ASSERT_EQ(BuildPyramid(picture, 7, k.fitWidth, k.fitHeight, p), !k.halvings.empty());
        ASSERT_EQ(p.levels.size(), k.halvings.size());
        if (p.levels.empty()) continue;

        Plane plane(k.height, std::vector<std::vector<int>>(k.width, std::vector<int>(3)));
        for (int32_t y = 0; y < k.height; ++y)
            for (int32_t x = 0; x < k.width; ++x) {
                uint8_t bgr[3];
                PicturePixel(picture, x, y, bgr);
                for (int c = 0; c < 3; ++c) plane[y][x][c] = bgr[c];
            }
        int64_t bytes = 0;
        int done = 0;
        for (size_t i = 0; i < p.levels.size(); ++i) {
            const PyramidLevel& level = p.levels[i];
            ASSERT_EQ(level.halvings, k.halvings[i]);
            for (; done < level.halvings; ++done) plane = Halve(plane);
            ASSERT_EQ(level.height, static_cast<int32_t>(plane.size()));
            ASSERT_EQ(level.width, static_cast<int32_t>(plane[0].size()));
            for (int32_t y = 0; y < level.height; ++y)
                for (int32_t x = 0; x < level.width; ++x)
                    for (int c = 0; c < 3; ++c)
                        ASSERT_EQ(level.pixels[static_cast<size_t>(y) * level.rowSize + x * 3 + c], plane[y][x][c])
                            << "copy " << i << " pixel " << x << "," << y;
            bytes += static_cast<int64_t>(level.pixels.size());
        }
        EXPECT_LE(bytes, static_cast<int64_t>(picture.pixels.size()) / PyramidShare);
        const PyramidLevel& last = p.levels.back();
        EXPECT_TRUE(last.width <= k.fitWidth && last.height <= k.fitHeight);
        // The smallest copy at least as large as asked for; none when only the picture is.
        EXPECT_EQ(LevelFor(p, last.width, last.height), &last);
        EXPECT_EQ(LevelFor(p, last.width + 1, 1), p.levels.size() > 1 ? &p.levels[p.levels.size() - 2] : nullptr);
        EXPECT_EQ(LevelFor(p, k.width, k.height), nullptr);
    }
}

}  // namespace
