#pragma once
// The window's control and bitmap ids are engine facts (the Screen port names
// controls by them); the Qt side reaches them through this header too.
#include "link/ControlIds.h"
