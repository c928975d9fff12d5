// Stamps of thermal discs and wind lines, made by the same GDI calls as a direct drawing and
// copied by our own loop.
#include "map/DiscStamps.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr int WindPenWidth = 2;
// Room around a shape for what its pen paints past the ellipse box or the line's ends.
constexpr int Margin = 3;
constexpr int ScratchSide = 2 * (LargestStampedRadius + Margin) + 1;
static_assert(LongestStampedLine <= LargestStampedRadius, "a line stamp fits the scratch picture");

// One row's stretch of painted pixels, as offsets from the centre; its colours start at first.
struct Run {
    int dy, dx, length;
    size_t first;
};

struct Stamp {
    bool tried = false;
    bool usable = false;
    int left = 0, top = 0, right = 0, bottom = 0;  // offsets of the painted pixels' bounds, inclusive
    std::vector<Run> runs;
    std::vector<uint32_t> colours;
};

// The picture the stamps are drawn on, made on first use and kept.
struct Scratch {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    uint32_t* bits = nullptr;
};
Scratch scratch;

bool EnsureScratch() {
    if (scratch.bits != nullptr) return true;
    BITMAPINFO info = TopDownPictureInfo(ScratchSide, ScratchSide);
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc != nullptr ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bitmap == nullptr || bits == nullptr) {
        if (bitmap != nullptr) DeleteObject(bitmap);
        if (dc != nullptr) DeleteDC(dc);
        return false;
    }
    SelectObject(dc, bitmap);
    scratch = Scratch{dc, bitmap, static_cast<uint32_t*>(bits)};
    return true;
}

// Makes the stamp of what draw paints around the scratch picture's centre, within extent of it:
// drawn over two backgrounds, a pixel the drawing paints is the same on both, one it leaves keeps
// each background.
template <class Draw>
void MakeStamp(Stamp& stamp, int extent, Draw draw) {
    stamp.tried = true;
    if (!EnsureScratch()) return;
    constexpr int Centre = ScratchSide / 2;
    const int side = 2 * extent + 1;
    std::vector<uint32_t> over[2];
    const uint32_t backgrounds[2] = {0x00000000u, 0x00FFFFFFu};
    for (int k = 0; k < 2; ++k) {
        for (int row = 0; row < side; ++row) {
            uint32_t* line = scratch.bits + (Centre - extent + row) * ScratchSide + Centre - extent;
            for (int col = 0; col < side; ++col) line[col] = backgrounds[k];
        }
        draw(scratch.dc, Centre);
        GdiFlush();
        over[k].resize(static_cast<size_t>(side) * side);
        for (int row = 0; row < side; ++row)
            std::memcpy(&over[k][static_cast<size_t>(row) * side],
                        scratch.bits + (Centre - extent + row) * ScratchSide + Centre - extent, side * sizeof(uint32_t));
    }
    for (int row = 0; row < side; ++row) {
        for (int col = 0; col < side;) {
            size_t at = static_cast<size_t>(row) * side + col;
            if (over[0][at] != over[1][at]) {
                ++col;
                continue;
            }
            Run run{row - extent, col - extent, 0, stamp.colours.size()};
            for (; col < side && over[0][at] == over[1][at]; ++col, ++at, ++run.length)
                stamp.colours.push_back(over[0][at]);
            stamp.runs.push_back(run);
            if (stamp.runs.size() == 1) stamp.left = stamp.right = run.dx, stamp.top = stamp.bottom = run.dy;
            if (run.dx < stamp.left) stamp.left = run.dx;
            if (run.dx + run.length - 1 > stamp.right) stamp.right = run.dx + run.length - 1;
            stamp.bottom = run.dy;
        }
    }
    stamp.usable = true;
}

void Copy(const PixelTarget& pixels, const Stamp& stamp, int x, int y) {
    if (stamp.runs.empty()) return;
    const int64_t left = int64_t{x} + stamp.left, right = int64_t{x} + stamp.right;
    const int64_t top = int64_t{y} + stamp.top, bottom = int64_t{y} + stamp.bottom;
    if (right < pixels.left || bottom < pixels.top || left >= pixels.right || top >= pixels.bottom) return;
    const uint32_t* colours = stamp.colours.data();
    if (left >= pixels.left && top >= pixels.top && right < pixels.right && bottom < pixels.bottom) {
        // Wholly inside, as most are: no cutting. Runs are short, a plain loop beats memcpy.
        uint32_t* const centre = pixels.bits + static_cast<ptrdiff_t>(y) * pixels.stride + x;
        for (const Run& run : stamp.runs) {
            // A stamp's colours never lie in the target: the copy may go four pixels at a time.
            uint32_t* __restrict target = centre + static_cast<ptrdiff_t>(run.dy) * pixels.stride + run.dx;
            const uint32_t* __restrict source = colours + run.first;
            for (int k = 0; k < run.length; ++k) target[k] = source[k];
        }
        return;
    }
    for (const Run& run : stamp.runs) {
        const int64_t row = int64_t{y} + run.dy;
        if (row < pixels.top || row >= pixels.bottom) continue;
        const int64_t start = int64_t{x} + run.dx;
        const int64_t from = start < pixels.left ? pixels.left : start;
        const int64_t to = start + run.length > pixels.right ? pixels.right : start + run.length;
        if (from >= to) continue;
        std::memcpy(pixels.bits + row * pixels.stride + from, colours + run.first + (from - start),
                    static_cast<size_t>(to - from) * sizeof(uint32_t));
    }
}

// Disc stamps by fill colour, then by radius; line stamps by step.
std::vector<std::pair<COLORREF, std::vector<Stamp>>> discStamps;
constexpr int LineSide = 2 * LongestStampedLine + 1;
std::vector<Stamp> lineStamps;

}  // namespace

bool PixelTargetOf(HDC dc, PixelTarget& pixels) {
    if (GetObjectType(dc) != OBJ_MEMDC) return false;  // a window's pixels are the system's to write
    DIBSECTION section{};
    if (GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof section, &section) != sizeof section) return false;
    const BITMAP& bm = section.dsBm;
    if (bm.bmBitsPixel != 32 || bm.bmBits == nullptr || section.dsBmih.biCompression != BI_RGB) return false;
    POINT viewport{}, window{};
    GetViewportOrgEx(dc, &viewport);
    GetWindowOrgEx(dc, &window);
    if (GetMapMode(dc) != MM_TEXT || GetROP2(dc) != R2_COPYPEN || viewport.x != 0 || viewport.y != 0 || window.x != 0 ||
        window.y != 0)
        return false;
    RECT part{0, 0, bm.bmWidth, bm.bmHeight};
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    const int clipped = GetClipRgn(dc, clip);
    RECT box{};
    if (clipped < 0 || (clipped == 1 && (GetRgnBox(clip, &box) != SIMPLEREGION || !IntersectRect(&part, &part, &box)))) {
        DeleteObject(clip);
        return false;
    }
    // The probe below must reach the corner pixel, wherever the clip lies.
    if (clipped == 1) SelectClipRgn(dc, nullptr);
    const int rowPixels = bm.bmWidthBytes / 4;
    auto* bits = static_cast<uint32_t*>(bm.bmBits);
    uint32_t* lastRow = bits + static_cast<ptrdiff_t>(bm.bmHeight - 1) * rowPixels;
    // The section's header does not say whether its rows are stored top row first: a pixel set in
    // the top row shows which end of the memory holds it.
    const uint32_t keptFirst = bits[0], keptLast = lastRow[0];
    const uint32_t probe = keptFirst ^ 1u;
    GdiFlush();
    SetPixelV(dc, 0, 0, RGB((probe >> 16) & 0xFF, (probe >> 8) & 0xFF, probe & 0xFF));
    GdiFlush();
    const bool topDown = bits[0] != keptFirst || bm.bmHeight == 1;
    bits[0] = keptFirst;
    lastRow[0] = keptLast;
    if (clipped == 1) SelectClipRgn(dc, clip);
    DeleteObject(clip);
    pixels = PixelTarget{topDown ? bits : lastRow, topDown ? rowPixels : -rowPixels,
                       static_cast<int>(part.left), static_cast<int>(part.top), static_cast<int>(part.right),
                       static_cast<int>(part.bottom)};
    return true;
}

bool CopyDiscStamp(const PixelTarget& pixels, int x, int y, int ri, COLORREF fill) {
    if (ri < 0 || ri > LargestStampedRadius) return false;
    static size_t kind = 0;  // the fill of the disc before, most often the same
    if (kind >= discStamps.size() || discStamps[kind].first != fill) {
        kind = 0;
        while (kind < discStamps.size() && discStamps[kind].first != fill) ++kind;
    }
    if (kind == discStamps.size()) discStamps.emplace_back(fill, std::vector<Stamp>(LargestStampedRadius + 1));
    Stamp& stamp = discStamps[kind].second[static_cast<size_t>(ri)];
    if (!stamp.tried) {
        MakeStamp(stamp, ri + Margin, [ri, fill](HDC dc, int c) {
            HPEN pen = CreatePen(PS_SOLID, 1, Black);
            HBRUSH brush = CreateSolidBrush(fill);
            HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
            Ellipse(dc, c - ri, c - ri, c + ri, c + ri);
            SelectObject(dc, oldPen), SelectObject(dc, oldBrush);
            DeleteObject(pen), DeleteObject(brush);
        });
    }
    if (!stamp.usable) return false;
    Copy(pixels, stamp, x, y);
    return true;
}

bool CopyLineStamp(const PixelTarget& pixels, int x, int y, int dx, int dy) {
    if (std::abs(dx) > LongestStampedLine || std::abs(dy) > LongestStampedLine) return false;
    if (lineStamps.empty()) lineStamps.resize(static_cast<size_t>(LineSide) * LineSide);
    Stamp& stamp = lineStamps[static_cast<size_t>(dy + LongestStampedLine) * LineSide + dx + LongestStampedLine];
    if (!stamp.tried) {
        const int extent = (std::abs(dx) > std::abs(dy) ? std::abs(dx) : std::abs(dy)) + Margin;
        MakeStamp(stamp, extent, [dx, dy](HDC dc, int c) {
            HPEN pen = CreatePen(PS_SOLID, WindPenWidth, Black);
            HGDIOBJ old = SelectObject(dc, pen);
            MoveToEx(dc, c, c, nullptr);
            LineTo(dc, c + dx, c + dy);
            SelectObject(dc, old);
            DeleteObject(pen);
        });
    }
    if (!stamp.usable) return false;
    Copy(pixels, stamp, x, y);
    return true;
}

BITMAPINFO TopDownPictureInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
