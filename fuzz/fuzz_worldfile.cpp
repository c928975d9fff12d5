// Any file given as a world file beside a picture of any size: read without fault, and an area
// that is used lies within the globe, in order, with bound texts of the right length.
#include <cstdlib>
#include <cstring>

#include "FuzzFiles.h"
#include "model/Project.h"
#include "model/WorldFile.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

// The first four bytes give the picture's width and height (1 to 65536 each), the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int32_t width = (data[0] << 8 | data[1]) + 1, height = (data[2] << 8 | data[3]) + 1;
    WorldEdges edges;
    const int result = ReadWorldFile(WriteScratchFile(data + 4, size - 4), width, height, &edges);
    Check(result >= WorldFileOk && result <= WorldFileNotDegrees);
    Check(std::strlen(WorldFileReason(result)) > 0 || result == WorldFileOk);
    if (result != WorldFileOk) return 0;
    Check(edges.bottom <= edges.top && edges.left <= edges.right);
    Check(edges.bottom >= -5400000 && edges.top <= 5400000);
    Check(edges.left >= -10800000 && edges.right <= 10800000);
    const int32_t values[4] = {edges.top, edges.bottom, edges.left, edges.right};
    for (int i = 0; i < 4; ++i) {
        char text[BoundTextSize];
        EdgeToText(text, sizeof text, values[i], i < 2);
        Check(std::strlen(text) == (i < 2 ? 10u : 11u));
    }
    return 0;
}
