// The standard controls, the common controls, scroll bars, dialogs, message boxes and the file
// dialog of the substitute.
#pragma once

#include "win/controls/button.h"
#include "win/controls/combobox.h"
#include "win/controls/commctrl.h"
#include "win/controls/commdlg.h"
#include "win/controls/custom_draw.h"
#include "win/controls/dialog.h"
#include "win/controls/edit.h"
#include "win/controls/header.h"
#include "win/controls/listbox.h"
#include "win/controls/listview.h"
#include "win/controls/message_box.h"
#include "win/controls/owner_draw.h"
#include "win/controls/scrollbar.h"
#include "win/controls/shobjidl.h"
#include "win/controls/static.h"
#include "win/controls/tab.h"
#include "win/controls/tooltip.h"
#include "win/controls/treeview.h"
