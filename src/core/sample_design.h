// A built-in sample design: four colour blocks, about 2 000 stitches, with a long move
// inside a block, trims, jumps and coordinates on both sides of the origin, all inside a
// 100 x 100 mm hoop. The demo and the tests share it.
#pragma once

#include "core/stitch.h"

void MakeSampleDesign(StitchList& list);
