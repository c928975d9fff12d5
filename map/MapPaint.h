// What the map window's paint shares with the drawing operations: the kept stretched picture and
// the off-screen copy of the window that drawings made at once are repeated on.
#pragma once

#include <windows.h>

// Draws the backdrop where the paint puts it (at the map origin, stretched by the zoom), only
// within clip. Copies from the kept stretched picture of the current zoom when the picture is
// small enough to keep; otherwise stretches straight into dc, which GDI limits to dc's clip.
void PaintBackdrop(HDC dc, const RECT& clip);

// Drops the kept stretched picture: a new backdrop, zoom or window size makes it stale.
void ForgetKeptPicture();

// The off-screen copy of the map window that holds what the screen shows, when dc draws on the
// map window itself (not while the window paints); null otherwise. A drawing made at once on the
// window is repeated there, so that the copy keeps what the next paint leaves unpainted.
HDC MirrorOf(HDC dc);
