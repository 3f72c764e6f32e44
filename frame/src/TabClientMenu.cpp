// The context menu of a document tab and what its choices do.
#include "frame/MainFrame.h"
#include "frame/MdiClient.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/Document.h"
#include "DravikKernel/DravikServerAppProxy.h"
#include "DravikKernel/KernelServices.h"
#include "DravikKernel/UIModuleProxy.h"
#include "win/ole/clipboard.h"
#include "win/system/shell.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

struct MenuRow {
    UINT id; // 0: a separator
    const wchar_t* text;
};

// The menu's fixed part; the texts are the program's own.
constexpr MenuRow kTabMenu[] = {
    {CDVTabClientWnd::kCloseTab, L"&Close"},
    {CDVTabClientWnd::kCloseDocument, L"Close &document"},
    {CDVTabClientWnd::kCloseAll, L"Close &all documents"},
    {0, nullptr},
    {CDVTabClientWnd::kTabsOnTop, L"Tabs at the &top"},
    {CDVTabClientWnd::kTabsOnBottom, L"Tabs at the &bottom"},
    {CDVTabClientWnd::kWorkbookMode, L"&Workbook mode"},
    {CDVTabClientWnd::kFixedWidthTabs, L"&Fixed-width tabs"},
    {0, nullptr},
    {CDVTabClientWnd::kOpenFolder, L"Open containing &folder"},
    {CDVTabClientWnd::kCopyPath, L"Copy full &path"},
};

CDvw32Doc* documentOf(HWND window) {
    auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(window));
    return frame != nullptr ? dynamic_cast<CDvw32Doc*>(frame->GetActiveDocument()) : nullptr;
}

std::vector<CMainFrame*> mainFrames() {
    std::vector<CMainFrame*> frames;
    for (CFrameWnd* frame : UIModuleProxy::Instance().GetMainFrames())
        if (auto* main = dynamic_cast<CMainFrame*>(frame))
            frames.push_back(main);
    return frames;
}

// The second line of a string, or all of it when it has one line.
std::wstring secondLine(const std::wstring& text) {
    const size_t newline = text.find(L'\n');
    return newline == std::wstring::npos ? text : text.substr(newline + 1);
}

std::wstring windowText(CWnd* window) {
    CString text;
    window->GetWindowText(text);
    return std::wstring(text.GetString());
}

// The clipboard keeps text in UTF-16 units.
void copyToClipboard(HWND owner, const std::wstring& text) {
    if (!::OpenClipboard(owner))
        return;
    ::EmptyClipboard();
    std::u16string units;
    for (const wchar_t c : text) {
        const auto code = static_cast<char32_t>(c);
        if (code < 0x10000) {
            units.push_back(static_cast<char16_t>(code));
        } else {
            units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        }
    }
    const SIZE_T bytes = (units.size() + 1) * sizeof(char16_t);
    if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = ::GlobalLock(memory)) {
            std::memcpy(target, units.c_str(), bytes);
            ::GlobalUnlock(memory);
            if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
                ::GlobalFree(memory);
        } else {
            ::GlobalFree(memory);
        }
    }
    ::CloseClipboard();
}

// The file manager shows the document's folder with the file selected; failures are ignored.
void openFolderSelecting(const std::wstring& path) {
    PIDLIST_ABSOLUTE item = nullptr;
    if (FAILED(::SHParseDisplayName(path.c_str(), nullptr, &item, 0, nullptr)) || item == nullptr)
        return;
    ::SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    ::ILFree(item);
}

} // namespace

HMENU CDVTabClientWnd::BuildTabMenu(CXTPTabManagerItem* item) {
    HMENU menu = ::CreatePopupMenu();
    for (const MenuRow& row : kTabMenu)
        ::AppendMenuW(menu, row.id == 0 ? MF_SEPARATOR : MF_STRING, row.id, row.text);
    ::CheckMenuItem(menu, kFixedWidthTabs, MF_BYCOMMAND | (IsFixedWidthTabs() ? MF_CHECKED : MF_UNCHECKED));
    const UINT radio = GetTabPosition() == xtpTabPositionBottom ? kTabsOnBottom : kTabsOnTop;
    ::CheckMenuRadioItem(menu, kTabsOnTop, kTabsOnBottom, radio, MF_BYCOMMAND);
    HWND window = item != nullptr ? item->GetHandle() : nullptr;
    CDvw32Doc* document = window != nullptr ? documentOf(window) : nullptr;
    if (window != nullptr && dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(window)) != nullptr) {
        const std::wstring newWindow = secondLine(DVLoadString(kNewWindow));
        ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        if (document != nullptr)
            ::AppendMenuW(menu, MF_STRING, kNewWindow, newWindow.c_str());
        HMENU move = ::CreatePopupMenu();
        UINT id = kMoveToMainWindowFirst;
        for (CMainFrame* frame : mainFrames()) {
            if (id > kMoveToMainWindowLast)
                break;
            const UINT checked = frame == GetMainFrame() ? MF_CHECKED : MF_UNCHECKED;
            ::AppendMenuW(move, MF_STRING | checked, id++, windowText(frame).c_str());
        }
        ::AppendMenuW(move, MF_STRING, kMoveToNewMainWindow, newWindow.c_str());
        const std::wstring moveTitle = Dravik::I18n::Translate(L"move_to_main_window");
        ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(move), moveTitle.c_str());
    }
    const bool hasPath = document != nullptr && !document->GetPathName().IsEmpty();
    for (UINT id : {kOpenFolder, kCopyPath})
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | (hasPath ? MF_ENABLED : MF_GRAYED));
    return menu;
}

void CDVTabClientWnd::RunTabCommand(UINT command, CXTPTabManagerItem* item) {
    HWND window = item != nullptr ? item->GetHandle() : nullptr;
    if (window == nullptr || !::IsWindow(window))
        return;
    CMainFrame* main = GetMainFrame();
    CDvw32Doc* document = documentOf(window);
    auto* child = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(window));
    switch (command) {
    case kCloseTab:
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case kTabsOnTop:
    case kTabsOnBottom:
        SetTabPosition(command == kTabsOnTop ? xtpTabPositionTop : xtpTabPositionBottom);
        Refresh();
        break;
    case kWorkbookMode:
    case kNewWindow:
    case 61217:
        if (main != nullptr)
            main->PostMessage(WM_COMMAND, command == kWorkbookMode ? 805 : command);
        break;
    case kCloseDocument:
        if (DravikServerAppProxy* proxy = DravikServerAppProxy::Instance())
            proxy->TerminateAllCommands(nullptr, true);
        if (child != nullptr && GetParentFrame() != nullptr) {
            GetParentFrame()->MDIActivate(child);
            if (CView* view = child->GetActiveView())
                view->SetFocus();
        }
        Refresh();
        if (main != nullptr)
            main->PostMessage(WM_COMMAND, ID_FILE_CLOSE);
        break;
    case kFixedWidthTabs:
        SetFixedWidthTabs(!IsFixedWidthTabs());
        ApplyTabLayout();
        Refresh();
        break;
    case kOpenFolder:
        if (document != nullptr && !document->GetPathName().IsEmpty())
            openFolderSelecting(std::wstring(document->GetPathName().GetString()));
        break;
    case kCopyPath:
        if (document != nullptr && !document->GetPathName().IsEmpty())
            copyToClipboard(m_hWnd, std::wstring(document->GetPathName().GetString()));
        break;
    case kCloseAll:
        if (MainFrameApplication* app = MainFrameApplication::Instance())
            if (app->SaveAllModified())
                app->CloseAllDocuments();
        break;
    case kMoveToNewMainWindow:
        if (main != nullptr && child != nullptr)
            if (CMainFrame* made = main->Clone()) {
                made->ShowFirstTime();
                main->MoveChildFrameTo(made, child);
            }
        break;
    default:
        if (command >= kMoveToMainWindowFirst && command <= kMoveToMainWindowLast && main != nullptr &&
            child != nullptr) {
            const std::vector<CMainFrame*> frames = mainFrames();
            const size_t index = command - kMoveToMainWindowFirst;
            if (index < frames.size())
                main->MoveChildFrameTo(frames[index], child);
        }
        break;
    }
}
