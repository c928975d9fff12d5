// The map window: painting, scrolling and the mouse, by map mode.
#pragma once

#include <windows.h>

LRESULT CALLBACK MapWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void DrawBackdrop(HDC dc, int x, int y, int drawWidth, int drawHeight);
void DrawThermals(HDC dc);
// Draws the thermals from index first on (a batch appended since the last paint).
void DrawThermalsFrom(HDC dc, int first);
bool DrawSelection(HDC dc);
void DrawAreaFrame(HDC dc);

// Loads the named backdrop now, under the wait cursor; when it loads, the zoom fits it and the map
// is drawn anew. Answers LoadBackdrop's result; a failure keeps the picture shown before.
int ReloadBackdrop(const char* name);
// ReloadBackdrop of path, and when it fails the box that names the file (as shownName) and says
// why, advice after it. True when the picture loaded.
bool LoadBackdropOrTell(HWND owner, const char* path, const char* shownName, const char* advice);
// Ends a Ctrl press or drag of a thermal, if one is in progress, with nothing changed.
void EndMapPress();
// No picture at all: for a project whose own backdrop could not be loaded, so that no other
// project's picture stands for it. The tool commands refuse until one is loaded.
void ForgetBackdrop();

// ComputePointerPosition, then the texts to the status bar.
void UpdatePointerPosition();
// Invalidates the whole map window; erase says whether the background is cleared first. An
// erasing invalidation also drops the kept composition.
void InvalidateMap(bool erase);
// Drops the kept composition of the map, so that the next paint composes the picture anew; for
// a change of state that the composition's keys do not show.
void DropMapComposition();

// A Test batch: each appended disc is drawn once, into the kept composition (made again first if
// stale), and the changed part reaches the window after every group of discs and at the end.
void BeginBatchDrawing();
void DrawBatchThermal(int index);
void EndBatchDrawing();

// Drawings that a tool dialog lays over the map while it is open (the Flights dialog's tracks and
// circles): draw runs in every paint after the thermals, only within the device context's clip,
// and always draws the same pixels for the same state. Null for none. Each call, and
// MapOverlayChanged after a change of what it draws, repaints the map.
using MapOverlay = void (*)(HDC dc);
void SetMapOverlay(MapOverlay draw);
void MapOverlayChanged();
