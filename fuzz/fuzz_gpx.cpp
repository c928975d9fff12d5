// Any file given as a GPS exchange file (GPX): the checks of FuzzHotspotImport.
#include "FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzHotspotImport(data, size, ".gpx"); }
