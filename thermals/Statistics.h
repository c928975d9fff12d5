// An overview of the thermal table: counts by place, lift type and cloud, the tops, and the
// density inside the area.
#pragma once

#include <string>

// The lines of the Statistics box, joined by single LFs, over every thermal of the table.
std::string StatisticsText();
