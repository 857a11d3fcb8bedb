// The program's window icon, drawn by the engine itself.
#pragma once

#include "platform/window.h"

// A 32 x 32 picture of a ball over a row of bricks. Built once; the image lives as long as the program.
const plat::IconImage& windowIcon();
