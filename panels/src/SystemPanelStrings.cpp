#include "panels/SystemPanelStrings.h"

#include "DravikKernel/KernelServices.h"

std::wstring LoadSystemPanelString(UINT id) {
    return DVLoadString(id + kSystemPanelStringBase);
}
