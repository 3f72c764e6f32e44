#include "DravikKernel/DravikDialog.h"

IMPLEMENT_DYNAMIC(CDravikDialog, CDialog)
