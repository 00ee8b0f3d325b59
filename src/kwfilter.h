// kwfilter: embroidery design filters, design objects, compression and dialogs.
// The one header a host includes.
#pragma once

#include "platform/types.h"
#include "compress/status.h"
#include "compress/storage.h"
#include "compress/file_storage.h"
#include "compress/engine.h"
#include "compress/glcompressor.h"
