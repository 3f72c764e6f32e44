#include "DravikKernel/HelpIDModifier.h"

#include "DravikKernel/DravikServerAppProxy.h"

HelpIDModifier::~HelpIDModifier() {
    reset();
}

void HelpIDModifier::set(unsigned helpId, const wchar_t* helpFile, bool keepFile) {
    reset();
    DravikServerAppProxy* shell = DravikServerAppProxy::Instance();
    if (shell == nullptr)
        return;
    // Without a file of its own the topic stays in the help file the application shows now.
    previous_ = shell->SetHelpContext(helpId, keepFile ? nullptr : helpFile, 1);
    set_ = true;
}

void HelpIDModifier::reset() {
    if (!set_)
        return;
    set_ = false;
    if (DravikServerAppProxy* shell = DravikServerAppProxy::Instance())
        shell->SetHelpContext(previous_, nullptr, -1);
}
