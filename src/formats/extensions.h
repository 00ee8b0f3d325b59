// The type numbers of the host's open and save dialogs for an extension.
#pragma once

struct ExtensionNumber {
    const char* pszExt; // lower case, with the dot; ".*" ends a table and never matches
    int nNumber;
};

// The tables, each ending with {".*", 0}.
const ExtensionNumber* GetOpenExtensionTable();
const ExtensionNumber* GetSaveExtensionTable();

// An extension with its dot (any case) as the 1-based type number of the open or the save
// dialog; 0 for nullptr, "" or an extension that is not offered.
int MatchOpenExtensions(const char* pszExt);
int MatchSaveExtensions(const char* pszExt);
