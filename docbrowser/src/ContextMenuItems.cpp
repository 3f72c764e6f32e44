#include "docbrowser/ContextMenuItems.h"

#include "docbrowser/DocumentNamesEditor.h"
#include "docbrowser/DocumentsMenuDlg.h"
#include "docbrowser/FileClipboard.h"
#include "docbrowser/LibrariesClipboard.h"
#include "docbrowser/Record.h"

#include "DVTextCore/I18n.h"
#include "DravikKernel/View.h"
#include "DravikUI/ClipboardManager.h"
#include "afxwin.h"
#include "xtp/PopupBar.h"

namespace DocumentsMenu {

namespace {

bool clipboardOffersDrawing() {
    std::vector<std::wstring> files;
    FileClipboard::Instance().GetFiles(files);
    for (const std::wstring& f : files)
        if (IsDocumentFileName(f))
            return true;
    return false;
}

bool activeViewIsDrawing() {
    auto* frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    CMDIChildWnd* child = frame ? frame->MDIGetActive() : nullptr;
    return child != nullptr && dynamic_cast<CDVView*>(child->GetActiveView()) != nullptr;
}

} // namespace

ContextMenuItem::ContextMenuItem(const char* captionKey, int iconId, bool beginGroup) : key_(captionKey) {
    SetCaption(Dravik::I18n::Translate(captionKey).c_str());
    SetBeginGroup(beginGroup);
    SetIconId(iconId);
}

void ContextMenuItem::OnExecute() {
    CXTPControlButton::OnExecute();
    Execute();
}

namespace ConfigurationMenuItems {
void AlterNames::Execute() {
    if (targets_.size() != 1 || targets_.front() == nullptr)
        return;
    DocumentNamesEditor editor(targets_.front());
    editor.DoModal();
}
} // namespace ConfigurationMenuItems

namespace DocumentsMenuDlgMenuItems {
bool ShowsTree(const DocumentsMenuDlg& panel) {
    return !panel.IsLibrariesListShown();
}
bool ShowsLibrariesList(const DocumentsMenuDlg& panel) {
    return panel.IsLibrariesListShown();
}
bool HasNoPreview(const DocumentsMenuDlg& panel) {
    return panel.GetSplitMode() == DocumentsMenuDlg::SplitMode::None;
}
bool HasPreviewBeside(const DocumentsMenuDlg& panel) {
    return panel.GetSplitMode() == DocumentsMenuDlg::SplitMode::Horizontal;
}
bool HasPreviewBelow(const DocumentsMenuDlg& panel) {
    return panel.GetSplitMode() == DocumentsMenuDlg::SplitMode::Vertical;
}
ShowHidden::ShowHidden(DocumentsMenuDlg* panel, bool beginGroup)
    : DocumentsMenuDlgMenuItem(panel != nullptr && panel->IsShowHidden() ? Entries::kHideInvisible
                                                                         : Entries::kShowInvisible,
                               panel, beginGroup) {}
ShowExcluded::ShowExcluded(DocumentsMenuDlg* panel, bool beginGroup)
    : DocumentsMenuDlgMenuItem(panel != nullptr && panel->IsShowExcluded() ? Entries::kHideExclusions
                                                                           : Entries::kShowExclusions,
                               panel, beginGroup) {}
} // namespace DocumentsMenuDlgMenuItems

namespace LibrariesGroupMenuItems {
Paste::Paste(ILibrariesGroup* group, bool beginGroup) : MenuCommand(group, beginGroup) {
    SetEnabled(
        LibrariesClipboard::Instance().HasPending() &&
        (Dravik::ClipboardManager::isFormatAvailable(Dravik::ClipboardManager::registerFormat(L"Library")) ||
         Dravik::ClipboardManager::isFormatAvailable(
             Dravik::ClipboardManager::registerFormat(L"Libraries group"))));
}
} // namespace LibrariesGroupMenuItems

namespace LibraryMenuItems {
Paste::Paste(ILibrary* library, bool beginGroup) : MenuCommand(library, beginGroup) {
    SetEnabled(clipboardOffersDrawing());
}
void Paste::Execute() {
    if (targets_.size() == 1)
        FileClipboard::Instance().Paste(GetLibraryAbsolutePath(targets_.front()));
}
} // namespace LibraryMenuItems

namespace FolderMenuItems {
Paste::Paste(std::vector<std::wstring> folders, bool beginGroup)
    : MenuCommand(std::move(folders), beginGroup) {
    SetEnabled(clipboardOffersDrawing());
}
void Paste::Execute() {
    for (const std::wstring& folder : targets_)
        FileClipboard::Instance().Paste(folder);
}
} // namespace FolderMenuItems

namespace DocumentMenuItems {
Insert::Insert(std::wstring path, bool beginGroup, ILibrary* library)
    : MenuCommand(std::move(path), beginGroup, library) {
    SetEnabled(activeViewIsDrawing());
}
InsertAsImage::InsertAsImage(std::wstring path, bool beginGroup, ILibrary* library)
    : MenuCommand(std::move(path), beginGroup, library) {
    SetEnabled(activeViewIsDrawing());
}
void Cut::Execute() {
    FileClipboard::Instance().Cut(targets_);
}
void Copy::Execute() {
    FileClipboard::Instance().Copy(targets_);
}
} // namespace DocumentMenuItems

namespace RecordContextMenuItems {
Rename::Rename(Record* record, bool beginGroup)
    : RecordContextMenuItem(Entries::kRename, record, beginGroup) {}
void Rename::Execute() {
    if (record_ != nullptr)
        record_->BeginRename();
}
} // namespace RecordContextMenuItems

ContextMenuPopupItem::ContextMenuPopupItem(const char* captionKey, int iconId, CXTPCommandBars* commandBars) {
    m_controlType = xtpControlPopup;
    CXTPPopupBar* bar = CXTPPopupBar::CreatePopupBar(commandBars);
    SetCommandBar(bar);
    bar->InternalRelease();
    SetFlags(1);
    SetCaption(Dravik::I18n::Translate(captionKey).c_str());
    SetBeginGroup(TRUE);
    SetIconId(iconId);
}

} // namespace DocumentsMenu
