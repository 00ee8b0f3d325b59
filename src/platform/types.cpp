#include "platform/types.h"

static_assert(sizeof(tagPOINT) == 8, "tagPOINT is two 32-bit integers");
static_assert(sizeof(PALETTEENTRY) == 4, "PALETTEENTRY is four bytes");
