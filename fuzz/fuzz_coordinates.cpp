// Any bound texts, markers and backdrop size: the compact form and the area are computed without
// fault, and the rewritten texts always fit their storage.
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "model/Coordinates.h"
#include "model/Project.h"

namespace {

int32_t Take32(const uint8_t*& data, size_t& size) {
    uint32_t value = 0;
    for (int i = 0; i < 4 && size > 0; ++i, --size) value = value << 8 | *data++;
    return static_cast<int32_t>(value);
}

void TakeText(const uint8_t*& data, size_t& size, char* target, int targetSize) {
    size_t length = size > 0 ? *data % 20 : 0;
    if (size > 0) { ++data; --size; }
    if (length > size) length = size;
    if (length > static_cast<size_t>(targetSize - 1)) length = static_cast<size_t>(targetSize - 1);
    std::memcpy(target, data, length);
    target[length] = '\0';
    data += length;
    size -= length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char compact[CompactTextSize];
    std::strcpy(compact, "unchanged");
    char text[BoundTextSize];
    TakeText(data, size, text, BoundTextSize);
    CompactCoordinate(compact, text);
    if (std::memchr(compact, '\0', sizeof compact) == nullptr) std::abort();

    TakeText(data, size, areaTopText, BoundTextSize);
    TakeText(data, size, areaBottomText, BoundTextSize);
    TakeText(data, size, areaLeftText, BoundTextSize);
    TakeText(data, size, areaRightText, BoundTextSize);
    backdropWidth = Take32(data, size) % 100000;
    backdropHeight = Take32(data, size) % 100000;
    for (MarkerPoint& marker : markers) {
        marker.x = Take32(data, size);
        marker.y = Take32(data, size);
    }
    RecomputeArea();
    for (const char* bound : {areaTopText, areaBottomText, areaLeftText, areaRightText})
        if (std::memchr(bound, '\0', BoundTextSize) == nullptr) std::abort();
    for (const MarkerPoint& marker : markers)
        if (marker.x != 0 || marker.y != 0) std::abort();
    return 0;
}
