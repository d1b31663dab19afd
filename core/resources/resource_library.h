// Resource libraries (such as common_res.dll) are only read: they are mapped as data for their
// resources, never loaded as code, so nothing in them runs inside the saver.
#pragma once

#include <windows.h>

#include "core/data/ds_string.h"

// The library a document names, mapped as data: a full path ("C:\...", "\\server\...") as it
// stands; any other name in the program's own folder only (never along the library search path,
// which takes in the current folder). Null for an empty name, which means the program itself,
// and when the library cannot be read; a null module then finds the program's own resources.
// Each library is mapped once for the process and kept until it ends.
HMODULE LoadResourceLibrary(const ds_string& name);
