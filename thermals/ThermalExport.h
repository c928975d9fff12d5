// The thermal table written for other programs: a waypoint file for glide computers (CUP), a GPS
// exchange file (GPX 1.1) and a Google Earth file (KML 2.2) in which each thermal stands as a
// column of its radius up to its top.
#pragma once

#include <string>

enum class ExportFormat { Cup, Gpx, Kml };

// The format of a file name's extension (.cup, .gpx, .kml, any case); false for any other name.
bool ExportFormatOfName(const char* name, ExportFormat* format);

// The whole file for the table's thermals, in table order. documentName (UTF-8) names the KML
// document; empty gives "Thermals".
std::string ExportText(ExportFormat format, const std::string& documentName);

// Writes the file as a project is saved: a temporary file put in place only when complete. False,
// with nothing left behind and an earlier file of that name as it was, when it cannot be.
bool WriteThermalExport(const char* path, ExportFormat format, const std::string& documentName);
