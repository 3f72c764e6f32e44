// Resource and command ids of the class library, with the platform's values.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

DV_EXPORTS_BEGIN

constexpr UINT AFX_IDS_APP_TITLE = 0xE000; // 57344: the application's title

constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_CLOSE = 0xE102;
constexpr UINT ID_FILE_SAVE = 0xE103;
constexpr UINT ID_FILE_SAVE_AS = 0xE104;
constexpr UINT ID_FILE_PAGE_SETUP = 0xE105;
constexpr UINT ID_FILE_PRINT_SETUP = 0xE106;
constexpr UINT ID_FILE_PRINT = 0xE107;
constexpr UINT ID_FILE_PRINT_DIRECT = 0xE108; // 57608
constexpr UINT ID_FILE_PRINT_PREVIEW = 0xE109;
constexpr UINT ID_FILE_SEND_MAIL = 0xE10C;
constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
constexpr UINT ID_FILE_MRU_FILE16 = 0xE11F;
constexpr UINT ID_EDIT_COPY = 0xE122;
constexpr UINT ID_EDIT_SELECT_ALL = 0xE12A;
constexpr UINT ID_WINDOW_NEW = 0xE130;
constexpr UINT ID_WINDOW_ARRANGE = 0xE131;
constexpr UINT ID_WINDOW_CASCADE = 0xE132;
constexpr UINT ID_WINDOW_TILE_HORZ = 0xE133;
constexpr UINT ID_WINDOW_TILE_VERT = 0xE134;
constexpr UINT ID_WINDOW_SPLIT = 0xE135;
constexpr UINT ID_APP_ABOUT = 0xE140;
constexpr UINT ID_APP_EXIT = 0xE141;
constexpr UINT ID_CONTEXT_HELP = 0xE145; // 57669
constexpr UINT ID_HELP = 0xE146;         // 57670
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_INDICATOR_EXT = 0xE700;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;
constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;

DV_EXPORTS_END
