// kwfilter: embroidery design filters, design objects, compression and dialogs.
// The one header a host includes.
#pragma once

#include "platform/types.h"
#include "platform/file.h"
#include "platform/message.h"
#include "platform/png.h"

#include "core/stitch.h"
#include "core/thread_table.h"
#include "core/settings.h"
#include "core/filter.h"
#include "core/part_set.h"
#include "core/colors.h"
#include "core/sample_design.h"
#include "core/stitch_compare.h"

#include "formats/dst.h"
#include "formats/exp.h"
#include "formats/format_table.h"
#include "formats/extensions.h"

#include "platform/object.h"
#include "platform/profile.h"
#include "platform/gdi.h"
#include "platform/system.h"
#include "platform/dialog.h"
#include "platform/file_dialog.h"

#include "ui/resources.h"
#include "ui/preferences.h"
#include "ui/my_file.h"
