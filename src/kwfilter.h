// kwfilter: embroidery design filters, design objects, compression and dialogs.
// The one header a host includes.
#pragma once

#include "platform/types.h"
