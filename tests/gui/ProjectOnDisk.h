// The project-file helpers now live in the harness.
#pragma once
#include "gui/Harness.h"
