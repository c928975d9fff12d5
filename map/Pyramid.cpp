// Reduced copies of the backdrop, made row by row: each copy takes the rows of the one above it
// two at a time, so only a few rows of every copy, kept or not, are held while they are made.
#include "map/Pyramid.h"

#include <cstring>
#include <new>

Pyramid pyramid;

namespace {

constexpr int Channels = 3;

// One step of the halving: the pending row from the copy above, and where finished rows go.
struct Stage {
    int32_t inWidth = 0;
    PyramidLevel level;
    bool keep = false;
    bool hasPending = false;
    int32_t rowsOut = 0;
    std::vector<uint8_t> pending;  // one input row, Channels bytes a pixel
    std::vector<uint8_t> out;      // one output row
};

uint8_t Average(unsigned sum, unsigned count) { return static_cast<uint8_t>((sum + count / 2) / count); }

void PushRow(std::vector<Stage>& stages, size_t k, const uint8_t* row);

// Halves rows a and b (b null at an odd last row) into the stage's next output row.
void EmitRow(std::vector<Stage>& stages, size_t k, const uint8_t* a, const uint8_t* b) {
    Stage& s = stages[k];
    const int32_t w = s.inWidth;
    uint8_t* out = s.out.data();
    for (int32_t x = 0; x < w; x += 2) {
        const bool pair = x + 1 < w;
        for (int c = 0; c < Channels; ++c) {
            unsigned sum = a[x * Channels + c];
            unsigned count = 1;
            if (pair) sum += a[(x + 1) * Channels + c], ++count;
            if (b != nullptr) {
                sum += b[x * Channels + c], ++count;
                if (pair) sum += b[(x + 1) * Channels + c], ++count;
            }
            *out++ = Average(sum, count);
        }
    }
    if (s.keep) {
        std::memcpy(s.level.pixels.data() + static_cast<size_t>(s.rowsOut) * s.level.rowSize, s.out.data(),
                    static_cast<size_t>(s.level.width) * Channels);
    }
    ++s.rowsOut;
    if (k + 1 < stages.size()) PushRow(stages, k + 1, s.out.data());
}

void PushRow(std::vector<Stage>& stages, size_t k, const uint8_t* row) {
    Stage& s = stages[k];
    if (!s.hasPending) {
        std::memcpy(s.pending.data(), row, s.pending.size());
        s.hasPending = true;
        return;
    }
    s.hasPending = false;
    EmitRow(stages, k, s.pending.data(), row);
}

// An odd last row is halved alone; then the stages below get theirs.
void Flush(std::vector<Stage>& stages) {
    for (size_t k = 0; k < stages.size(); ++k) {
        if (stages[k].hasPending) {
            stages[k].hasPending = false;
            EmitRow(stages, k, stages[k].pending.data(), nullptr);
        }
    }
}

void SourceRow(const Backdrop& picture, int32_t y, uint8_t* row) {
    if (picture.bitCount == 24) {
        std::memcpy(row, picture.pixels.data() + static_cast<size_t>(y) * picture.rowSize,
                    static_cast<size_t>(picture.width) * Channels);
        return;
    }
    for (int32_t x = 0; x < picture.width; ++x) PicturePixel(picture, x, y, row + x * Channels);
}

}  // namespace

void PicturePixel(const Backdrop& picture, int32_t x, int32_t y, uint8_t bgr[3]) {
    const uint8_t* row = picture.pixels.data() + static_cast<size_t>(y) * picture.rowSize;
    if (picture.bitCount >= 24) {
        // Blue, green, red, and at 32 bits a fourth byte that is not drawn.
        std::memcpy(bgr, row + static_cast<size_t>(x) * (picture.bitCount / 8), 3);
        return;
    }
    const int bits = picture.bitCount;
    const int64_t bit = int64_t{x} * bits;
    const int shift = 8 - bits - static_cast<int>(bit % 8);
    const unsigned index = (row[bit / 8] >> shift) & ((1u << bits) - 1);
    const size_t entries = picture.info.size() > 40 ? (picture.info.size() - 40) / 4 : 0;
    if (picture.palette == nullptr || index >= entries) {
        bgr[0] = bgr[1] = bgr[2] = 0;
        return;
    }
    std::memcpy(bgr, picture.palette + index * 4, 3);
}

bool PyramidIsOf(const Pyramid& p, const Backdrop& picture, uint32_t loadCount) {
    return p.loadCount == loadCount && p.source == picture.pixels.data() && p.width == picture.width &&
           p.height == picture.height;
}

bool BuildPyramid(const Backdrop& picture, uint32_t loadCount, int32_t fitWidth, int32_t fitHeight,
                  Pyramid& out) {
    out = Pyramid{};
    if (picture.width <= 1 || picture.height <= 1 || picture.pixels.empty()) return false;
    if (picture.bitCount != 1 && picture.bitCount != 4 && picture.bitCount != 8 && picture.bitCount != 24 &&
        picture.bitCount != 32)
        return false;
    if (fitWidth < 1) fitWidth = 1;
    if (fitHeight < 1) fitHeight = 1;

    try {
        std::vector<Stage> stages;
        int32_t w = picture.width, h = picture.height;
        int halvings = 0;
        while ((w > fitWidth || h > fitHeight) && (w > 1 || h > 1)) {
            Stage s;
            s.inWidth = w;
            w = HalfSize(w);
            h = HalfSize(h);
            s.level.width = w;
            s.level.height = h;
            s.level.rowSize = static_cast<int32_t>((int64_t{w} * 24 + 31) / 32 * 4);
            s.level.halvings = ++halvings;
            stages.push_back(std::move(s));
        }
        if (stages.empty()) return false;

        // The smallest copies are worth the most: they are kept first, within the bound.
        const int64_t bound = static_cast<int64_t>(picture.pixels.size()) / PyramidShare;
        int64_t used = 0;
        bool any = false;
        for (size_t k = stages.size(); k-- > 0;) {
            const int64_t bytes = int64_t{stages[k].level.rowSize} * stages[k].level.height;
            if (used + bytes > bound) continue;
            used += bytes;
            stages[k].keep = true;
            any = true;
        }
        if (!any) return false;
        // Stages below the last kept one are not needed.
        while (!stages.back().keep) stages.pop_back();

        for (Stage& s : stages) {
            s.pending.assign(static_cast<size_t>(s.inWidth) * Channels, 0);
            s.out.assign(static_cast<size_t>(s.level.width) * Channels, 0);
            if (s.keep) s.level.pixels.assign(static_cast<size_t>(s.level.rowSize) * s.level.height, 0);
        }
        std::vector<uint8_t> row(static_cast<size_t>(picture.width) * Channels);
        for (int32_t y = 0; y < picture.height; ++y) {
            SourceRow(picture, y, row.data());
            PushRow(stages, 0, row.data());
        }
        Flush(stages);

        for (Stage& s : stages)
            if (s.keep) out.levels.push_back(std::move(s.level));
    } catch (const std::bad_alloc&) {
        out = Pyramid{};
        return false;
    }
    out.loadCount = loadCount;
    out.source = picture.pixels.data();
    out.width = picture.width;
    out.height = picture.height;
    return true;
}

const PyramidLevel* LevelFor(const Pyramid& p, int64_t width, int64_t height) {
    const PyramidLevel* best = nullptr;
    for (const PyramidLevel& level : p.levels)
        if (level.width >= width && level.height >= height) best = &level;  // largest first
    return best;
}
