#pragma once
// The drawing half of the library in one include: canvas and pictures.

#include "Canvas.h"
#include "Picture.h"
