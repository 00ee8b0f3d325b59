// Opening a design by its file name: the one place that chooses the design object class
// from the extension.
#pragma once

#include "design/emb_object.h"

// True for the design sources of condensed designs (".cnd", ".kwc", ".dem").
bool IsCondensedSource(int nSource);
// A new, empty design object of the class that reads this name: a condensed design for
// the condensed sources, an expanded design otherwise. The caller owns it.
CEmbObject* NewDesignObjectFor(const char* pszFileName);
// Creates that object and reads the file into it (from pMemFile when given); null when the
// read failed (it has been reported).
CEmbObject* ReadDesignObject(const char* pszFileName, int bKeepHoop, CMemFile* pMemFile);
