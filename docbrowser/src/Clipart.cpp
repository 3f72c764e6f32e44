#include "docbrowser/Clipart.h"

#include "xtp/PropExchange.h"

#include <algorithm>

namespace {

std::vector<CClipartView*>& clipartList() {
    static std::vector<CClipartView*> list;
    return list;
}

} // namespace

CClipartView::CClipartView() {
    clipartList().push_back(this);
}

CClipartView::~CClipartView() {
    std::erase(clipartList(), this);
}

BOOL ApplicationClipart::DoPropExchange(CXTPPropExchange* pPX, CXTPDockingPane* pane) {
    CString key = appKey.c_str();
    PX_String(pPX, L"AppKey", key, L"");
    PX_Int(pPX, L"WindowID", windowId, -1);
    appKey = key.GetString();
    return TRUE;
}

const std::vector<CClipartView*>& ClipartViews() {
    return clipartList();
}

CClipartView* FindClipartById(int paneId) {
    for (CClipartView* view : clipartList())
        if (::IsWindow(view->GetSafeHwnd()) && view->GetDlgCtrlID() == paneId)
            return view;
    return nullptr;
}

ApplicationClipart* FindApplicationClipart(const std::wstring& appKey, int windowId) {
    for (CClipartView* view : clipartList())
        if (view->IsApplicationClipart()) {
            auto* application = static_cast<ApplicationClipart*>(view);
            if (application->windowId == windowId && application->appKey == appKey)
                return application;
        }
    return nullptr;
}

void DestroyAllClipartViews() {
    const std::vector<CClipartView*> views = clipartList();
    for (CClipartView* view : views) {
        if (::IsWindow(view->GetSafeHwnd()))
            view->DestroyWindow();
        delete view;
    }
}
