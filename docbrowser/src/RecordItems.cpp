#include "docbrowser/RecordItems.h"

#include "docbrowser/DocumentsMenuDlg.h"

#include "DravikKernel/KernelServices.h"
#include "DravikKernel/SelectFolders.h"
#include "DravikUI/CachingImageManager.h"
#include "win/system/shell.h"

#include <algorithm>

namespace DocumentsMenu {

namespace {

CachingImageManager* cachingImages(const CXTPReportRecordItem* item) {
    CXTPReportRecord* record = item->GetRecord();
    CXTPReportControl* control = record ? record->GetControl() : nullptr;
    return control ? dynamic_cast<CachingImageManager*>(control->GetImageManager()) : nullptr;
}

bool isFolder(const std::wstring& path) {
    return !path.empty() && ::PathIsDirectoryW(path.c_str());
}

} // namespace

ReportRecordItem::ReportRecordItem(IRecordTextValueEditor* editor, Action action)
    : editor_(editor), action_(std::move(action)) {
    if (editor_)
        caption_ = editor_->GetValue().c_str();
}

void ReportRecordItem::OnDblClick(XTP_REPORTRECORDITEM_CLICKARGS* args) {
    if (action_) {
        action_();
        return;
    }
    if (IsEditable() && args != nullptr && args->pControl != nullptr)
        args->pControl->EditItem(args);
}

void ReportRecordItem::OnEditChanged(XTP_REPORTRECORDITEM_ARGS* args, LPCWSTR text) {
    CXTPReportControl* control = args ? args->pControl : nullptr;
    if (control == nullptr)
        return;
    if (CWnd* edit = control->GetInplaceEdit(); edit != nullptr && edit->IsWindowVisible())
        control->HideInplaceEdit();
    if (editor_ && editor_->SetValue(text ? text : L""))
        SetCaption(text);
}

DocumentRecordItemName::DocumentRecordItemName(IRecordTextValueEditor* editor, Action action,
                                               ILibrary* library, std::wstring name)
    : ReportRecordItem(editor, std::move(action)), library_(library), name_(std::move(name)) {}

int DocumentRecordItemName::GetIconIndex() const {
    const std::wstring path = GetLibraryAbsolutePath(library_) + name_;
    CachingImageManager* images = cachingImages(this);
    if (images != nullptr && library_ != nullptr && ::PathFileExistsW(path.c_str()) && !isFolder(path))
        if (const int icon = images->GetIcon(path); icon != -1)
            return icon;
    return 40749;
}

LibraryRecordItemName::LibraryRecordItemName(IRecordTextValueEditor* editor, Action action, ILibrary* library)
    : ReportRecordItem(editor, std::move(action)), library_(library) {}

int LibraryRecordItemName::GetIconIndex() const {
    if (library_ == nullptr)
        return 4307;
    const std::wstring folder = GetLibraryAbsolutePath(library_);
    if (!isFolder(folder))
        return 4307;
    for (ILibrary* other : CollectAllLibraries(GlobalCfgGroup()))
        if (other != library_ &&
            CString(other->GetName().c_str()).CompareNoCase(library_->GetName().c_str()) == 0)
            return 4310;
    CachingImageManager* images = cachingImages(this);
    if (images != nullptr)
        if (const int icon = images->GetIcon(folder); icon != -1)
            return icon;
    return 4302;
}

ReportRecordIconItem::ReportRecordIconItem(int shownImage, int hiddenImage)
    : shown_(shownImage), hidden_(hiddenImage) {
    SetEditable(FALSE);
}

int ReportRecordIconItem::GetIconIndex() const {
    auto* record = dynamic_cast<Record*>(GetRecord());
    if (record == nullptr)
        return -1;
    return record->IsHidden() ? hidden_ : shown_;
}

void ReportRecordIconItem::OnClick(XTP_REPORTRECORDITEM_CLICKARGS* args) {
    CXTPReportRecordItem::OnClick(args);
    auto* structure = dynamic_cast<StructureBase*>(args ? args->pControl : nullptr);
    auto* clicked = dynamic_cast<Record*>(GetRecord());
    if (structure == nullptr || clicked == nullptr)
        return;
    const std::vector<CXTPReportRow*> selected = structure->GetSelectedRows();
    if (selected.empty())
        return;
    const bool showHidden = structure->IsShowHidden();
    if (!showHidden) {
        // The row that keeps the focus: the one after the last selected row, else the one
        // before the first.
        const int after = selected.back()->GetIndex() + 1;
        const int before = selected.front()->GetIndex() - 1;
        if (after < structure->GetRowCount())
            structure->SetFocusFallback(after - static_cast<int>(selected.size()));
        else if (before >= 0)
            structure->SetFocusFallback(before);
    }
    const bool hide = !clicked->IsHidden();
    std::vector<Record*> records;
    for (CXTPReportRow* row : selected)
        if (auto* r = dynamic_cast<Record*>(row->GetRecord()))
            records.push_back(r);
    for (Record* r : records) {
        r->SetHidden(hide);
        if (!showHidden && hide)
            r->SetVisible(FALSE);
    }
    if (!showHidden) {
        structure->Populate();
        structure->UpdateVisibleColumnIcon();
    }
}

LibraryRecordButtonBrowse::LibraryRecordButtonBrowse(ILibrary* library) : library_(library) {
    SetCaption(L"...");
    SetSize(CSize(18, 18));
}

void LibraryRecordButtonBrowse::OnLButtonUp(const XTP_REPORTRECORDITEM_CLICKARGS* args) {
    if (library_ != nullptr) {
        const std::wstring title = DVLoadString(2267);
        const std::wstring current = GetLibraryAbsolutePath(library_);
        // A library whose folder is missing stores the new choice relative.
        bool keepRelative = true;
        if (isFolder(current))
            keepRelative = ::PathIsRelativeW(library_->GetPath().c_str()) != FALSE;
        const std::vector<std::wstring> chosen =
            SelectFolders(nullptr, current.c_str(), title.c_str(), true, false);
        if (!chosen.empty() && !chosen.front().empty()) {
            ILibrary* library = library_;
            library->SetPath(chosen.front());
            if (keepRelative)
                library->SetPath(GetLibraryRelativePath(library));
        }
    }
    CXTPReportRecordItemButton::OnLButtonUp(args);
}

} // namespace DocumentsMenu
