// Any file given as a backdrop or a thermal map: loads or is refused alike, never reads or writes
// out of bounds, and a refused file leaves the previous picture as it was.
#include <cstdlib>

#include "FuzzFiles.h"
#include "map/Bitmap.h"
#include "model/Project.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int32_t widthBefore = backdropWidth;
    int32_t heightBefore = backdropHeight;
    const char* file = WriteScratchFile(data, size);
    int result = LoadBackdrop(file);
    // As a thermal map, reduced hard so that the blocks' edges are crossed too.
    static Brightness map;
    if (LoadBrightness(file, 7, map) != result) std::abort();
    if (result == LoadOk && (map.width > 7 || map.height > 7 || map.values.size() != size_t(map.width) * map.height)) std::abort();
    if (result != LoadOk) {
        if (backdropWidth != widthBefore || backdropHeight != heightBefore) std::abort();
        return 0;
    }
    // A loaded picture holds exactly its rows and a header the drawing can use.
    if (backdrop.width <= 0 || backdrop.height <= 0) std::abort();
    if (static_cast<int64_t>(backdrop.pixels.size()) != int64_t{backdrop.rowSize} * backdrop.height) std::abort();
    if (backdrop.info.size() < 40) std::abort();
    return 0;
}
