// The backdrop helper now lives in the harness.
#pragma once
#include "gui/Harness.h"
