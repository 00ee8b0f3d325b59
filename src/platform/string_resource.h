// String resources by ID (thread names, tooltips of toolbars and the like). A program
// registers the texts of a range of IDs with a function that gives the text of one.
#pragma once

#include "platform/types.h"

#include <string>

void AfxRegisterStringResources(UINT nFirstID, UINT nLastID, std::string (*pfnLoad)(UINT nID));
// The text of a string resource; false (and "") when no registered range holds the ID.
bool AfxLoadString(UINT nID, std::string& rString);
