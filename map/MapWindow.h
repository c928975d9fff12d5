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
