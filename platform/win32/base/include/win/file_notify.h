// What a folder watch follows and what it reports, with the platform's numeric values.
#pragma once

#include "win/types.h"

constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x1;
constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x2;
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_WRITE = 0x10;
constexpr DWORD FILE_ACTION_ADDED = 1;
constexpr DWORD FILE_ACTION_REMOVED = 2;
constexpr DWORD FILE_ACTION_MODIFIED = 3;
constexpr DWORD FILE_ACTION_RENAMED_OLD_NAME = 4;
constexpr DWORD FILE_ACTION_RENAMED_NEW_NAME = 5;
// The watch lost changes: the folder must be listed again.
constexpr DWORD ERROR_NOTIFY_ENUM_DIR = 1022;
