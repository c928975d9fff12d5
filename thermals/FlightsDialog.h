// The Flights dialog: flight logs loaded, their tracks and the thermals of their climbs shown on
// the map, and added to the table.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "thermals/Climbs.h"

INT_PTR CALLBACK FlightsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Whether dialog is the open Flights dialog.
bool IsFlightsDialog(HWND dialog);

// Reads the files into the open Flights dialog's list, as its Load does with the files chosen:
// files already listed are left out, the others read under the wait cursor, one box names those
// that could not be used. owner owns the box.
void LoadFlightFiles(HWND owner, const std::vector<std::string>& paths);

// Draws the loaded flights' tracks, each in its own colour, and an outlined circle for every
// thermal the dialog's Add would place: the map's overlay while the dialog is open.
void DrawFlights(HDC dc);
// The thermals Add would place; DrawFlights circles those inside the area and not yet in the table.
void SetFlightCircles(const std::vector<FoundThermal>& circles);
