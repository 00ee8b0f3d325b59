// kwfilter: embroidery design filters, design objects, compression and dialogs.
// The one header a host includes: the public classes, functions and globals, nothing the
// library keeps to itself.
#pragma once

#include "platform/types.h"
#include "platform/file.h"
#include "platform/message.h"
#include "platform/dc.h"
#include "platform/archive.h"

#include "core/stitch.h"
#include "core/thread_table.h"
#include "core/settings.h"
#include "core/filter.h"

#include "compress/status.h"
#include "compress/storage.h"
#include "compress/file_storage.h"
#include "compress/engine.h"
#include "compress/glcompressor.h"

#include "archive/name.h"
#include "archive/crypto.h"
#include "archive/pk_engines.h"
#include "archive/toolkit.h"
#include "archive/entry.h"
#include "archive/pk_archive.h"

#include "formats/dst.h"
#include "formats/exp.h"
#include "formats/hus.h"
#include "formats/pcs.h"
#include "formats/xxx.h"
#include "formats/csd.h"
#include "formats/emb_icon.h"
#include "formats/pec.h"
#include "formats/pes.h"
#include "formats/sew.h"
#include "formats/format_table.h"

#include "design/emb_object.h"
#include "design/exp_object.h"
#include "design/render.h"
#include "design/emb_data.h"
#include "design/cnd_object.h"
#include "design/cnd.h"
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
