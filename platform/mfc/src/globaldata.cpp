#include "afx/globaldata.h"

#include "afx/gdi.h"

void AFX_GLOBAL_DATA::CleanUp() {
    pal::mfc::deleteTemporaryGdiObjects();
}

AFX_GLOBAL_DATA* GetGlobalData() {
    static AFX_GLOBAL_DATA data;
    return &data;
}
