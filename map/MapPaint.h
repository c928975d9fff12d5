// What the map window's paint shares with the drawing operations: the backdrop's paint, the
// thermal painter, and the off-screen copy of the window that drawings made at once are repeated on.
#pragma once

#include <windows.h>

#include "map/DiscStamps.h"
#include "map/ThermalGrid.h"

// Draws the backdrop where the paint puts it (at the map origin, stretched by the zoom), only
// within clip. At zoom 1 and above it copies from the kept stretched picture of the current zoom
// when the picture is small enough to keep, and otherwise stretches straight into dc, which GDI
// limits to dc's clip. Below zoom 1 it stretches the part that reaches clip from the smallest
// reduced copy that is still at least as large as the picture on screen.
void PaintBackdrop(HDC dc, const RECT& clip);

// Lays the thermal map over the backdrop just painted within clip: each channel of each pixel of
// the picture becomes (its value + the map's grey under it) / 2, rounded down.
void PaintThermalMapOver(HDC dc, const RECT& clip);

// Drops the kept stretched picture: a new backdrop, zoom or window size makes it stale.
void ForgetKeptPicture();

// The off-screen copy of the map window that holds what the screen shows, when dc draws on the
// map window itself (not while the window paints); null otherwise. A drawing made at once on the
// window is repeated there, so that the copy keeps what the next paint leaves unpainted.
HDC MirrorOf(HDC dc);

// The rectangle wind lines are cut to, relative to the map origin: around the window with a wide
// margin, on a grid fixed to the picture, so that a view moved by a step within the same cells
// cuts every line where the view before it did.
RECT WindCutBounds();

// Draws thermals one at a time, in table order, on one device context, with pens and brushes
// made once for all of them. Every index from the first on is handed to Draw in turn, drawn or
// not, because a thermal of unknown type takes the fill of the one before it. On a picture whose
// pixels we may write (the kept composition), discs and short wind lines are copied from stamps.
class ThermalPainter {
public:
    ThermalPainter(HDC dc, int first);
    ~ThermalPainter();
    ThermalPainter(const ThermalPainter&) = delete;
    ThermalPainter& operator=(const ThermalPainter&) = delete;

    // Draws thermal i when any of it can fall inside dc's clip; widens touched (when given) to
    // hold every pixel it drew.
    void Draw(int i, RECT* touched = nullptr);
    // The thermals in the table now.
    int Count() const;

    // Whether anything can be drawn (the area has a scale and the clip is not empty), and the clip.
    bool Usable() const { return usable; }
    const RECT& Clip() const { return clip; }
    // How it places thermals and how far one can reach, for the grid's pick.
    GridView View() const;
    // The fill a thermal of unknown type takes next, set from the grid when thermals are skipped
    // without being handed to Draw.
    void TakeFill(int noted) { fill = noted; }

private:
    HDC dc;
    bool usable = false;
    RECT clip{};
    RECT cutTo{};  // WindCutBounds in window pixels
    int fill = -1;
    int selectedFill = -1;
    double toWindowX = 0.0, toWindowY = 0.0;  // window pixels per unit of longitude, of latitude
    double windReach = 1.0;                   // the farthest a wind line reaches, in disc radii
    HPEN outline = nullptr;
    HPEN windPen = nullptr;  // made on first use
    HBRUSH brushes[6] = {};
    HGDIOBJ oldPen = nullptr;
    HGDIOBJ oldBrush = nullptr;
    PixelTarget pixels;
    bool stamped = false;      // pixels are written by our own copies
    bool gdiPending = false;   // a GDI drawing since the last copy, to be finished before the next
    bool placed = false;       // the current position the drawings would have left, set at the end
    POINT position{};

    void FinishGdi();
};

// Drops the table's grid by position, with the kept composition: the records may have changed
// uncounted.
void ForgetThermalGrid();
