// Small answers of the application object that the callback object passes on to the kernel.
#include "app/Dvw32App.h"

#include "DravikKernel/DocTemplate.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/ProfileManager.h"
#include "xtp/ImageManager.h"

void CDvw32App::BlockPaintAllDocuments(bool block) {
    for (CDvw32Doc* document : DocumentManager::Instance().GetDocuments())
        document->BlockPaint(block);
}

std::wstring CDvw32App::GetMainFrameProfileSection(const wchar_t* profileName) {
    return DravikProfileManager::GetProfileSectionName(profileName) + L"\\MainFrame";
}

HACCEL CDvw32App::GetMainAcceleratorTable() {
    CFrameWnd* frame = DYNAMIC_DOWNCAST(CFrameWnd, UIModuleProxy::Instance().GetMainWindow());
    return frame != nullptr ? frame->m_hAccelTable : nullptr;
}

bool CDvw32App::HasVectorIcons(const CXTPImageManagerIconSet* icons) {
    if (icons == nullptr)
        return false;
    for (const auto& [width, icon] : icons->GetIcons())
        if (icon && icon->IsVectorIcon())
            return true;
    return false;
}

CDVDocTemplate* CDvw32App::GetKernelDocTemplate() const {
    for (CDocTemplate* docTemplate : GetDocTemplates())
        if (auto* kernel = dynamic_cast<CDVDocTemplate*>(docTemplate))
            return kernel;
    return nullptr;
}
