// kwfilter: embroidery design filters, design objects, compression and dialogs.
// The one header a host includes.
#pragma once

#include "platform/types.h"
#include "platform/file.h"
#include "platform/message.h"
#include "platform/png.h"
#include "platform/palette.h"
#include "platform/dc.h"
#include "platform/archive.h"

#include "core/stitch.h"
#include "core/thread_table.h"
#include "core/settings.h"
#include "core/filter.h"
#include "core/part_set.h"
#include "core/colors.h"
#include "core/sample_design.h"
#include "core/stitch_compare.h"
#include "core/part_plan.h"

#include "compress/status.h"
#include "compress/storage.h"
#include "compress/file_storage.h"
#include "compress/engine.h"
#include "compress/glcompressor.h"

#include "formats/dst.h"
#include "formats/exp.h"
#include "formats/pcs.h"
#include "formats/xxx.h"
#include "formats/csd.h"
#include "formats/format_table.h"

#include "design/emb_object.h"
#include "design/exp_object.h"
#include "design/render.h"
