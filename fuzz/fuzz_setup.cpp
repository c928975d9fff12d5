// Any texts typed into the Setup dialog's sixteen edits: the check answers one of its error
// numbers and composes bound texts that fit their storage.
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "model/Project.h"
#include "setup/SetupCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t at = 0;
    auto take = [&](char* target, size_t room) {
        size_t length = at < size ? data[at++] % room : 0;
        size_t i = 0;
        for (; i < length && at < size; ++i) target[i] = static_cast<char>(data[at++]);
        target[i] = '\0';
    };
    for (SetupRow& row : setupRows) {
        take(row.degText, sizeof row.degText);
        take(row.minText, sizeof row.minText);
        take(row.thouText, sizeof row.thouText);
        take(row.hemiText, sizeof row.hemiText);
    }
    int error = CheckSetupRows();
    if (error < 0 || error > 13) std::abort();
    for (const char* bound : {areaTopText, areaBottomText, areaLeftText, areaRightText})
        if (std::memchr(bound, '\0', BoundTextSize) == nullptr) std::abort();
    return 0;
}
