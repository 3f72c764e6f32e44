#include "docbrowser/DocumentRecords.h"

#include "docbrowser/ContextMenuItems.h"
#include "docbrowser/DocumentsMenuDlg.h"
#include "docbrowser/FileClipboard.h"
#include "docbrowser/RecordItems.h"

#include "DVPDMProxy/WorkMix.h"
#include "DravikKernel/Document.h"
#include "DravikUI/ReportControl.h"
#include "afxwin.h"
#include "win/system/shell.h"
#include "xtp/PopupBar.h"

namespace DocumentsMenu {

namespace {

void add(CXTPPopupBar* popup, CXTPControl* control) {
    if (CXTPControls* controls = popup ? popup->GetControls() : nullptr)
        controls->Add(control);
    else
        control->InternalRelease();
}

// A text column of the drawing's properties: the file is read the first time any of the
// row's property cells is asked for its text, once for all of them.
class PropertyItem : public Dravik::UI::SimpleTextReportItem {
public:
    CString GetCaption(CXTPReportColumn* column) override {
        Load();
        return SimpleTextReportItem::GetCaption(column);
    }
    CString GetTooltip() override {
        Load();
        return SimpleTextReportItem::GetTooltip();
    }
    void SetCaption(LPCWSTR caption) override {
        loaded_ = true;
        SimpleTextReportItem::SetCaption(caption);
    }
    void SetTooltip(LPCWSTR tooltip) override {
        loaded_ = true;
        SimpleTextReportItem::SetTooltip(tooltip);
    }

private:
    void Load() {
        if (loaded_)
            return;
        loaded_ = true;
        if (auto* record = dynamic_cast<DocumentRecord*>(GetRecord()))
            record->ReadProperties();
    }
    bool loaded_ = false;
};

constexpr int kPropertyItems[] = {2, 3, 4, 6, 7, 8, 9};
// The list's drawing row keeps its configuration's name after the seven properties and the eye.
constexpr int kConfigurationItem = 10;

std::vector<std::wstring> documentPaths(const std::vector<Record*>& selected) {
    std::vector<std::wstring> paths;
    for (Record* r : selected)
        if (auto* d = dynamic_cast<DocumentRecord*>(r))
            if (std::wstring p = d->GetFullPath(); !p.empty())
                paths.push_back(std::move(p));
    return paths;
}

std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace

bool IsValidDocumentName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..")
        return false;
    // Separators, the characters the platform refuses in names, and control characters.
    for (wchar_t c : name)
        if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            return false;
    // A name the platform keeps without its trailing dots and blanks names another file.
    return name.back() != L'.' && name.back() != L' ';
}

DocumentRecord::DocumentRecord(std::wstring name, ILibrary* library)
    : name_(std::move(name)), library_(library) {}

std::wstring DocumentRecord::GetFullPath() const {
    return library_ ? GetLibraryAbsolutePath(library_) + name_ : std::wstring();
}

std::wstring DocumentRecord::GetPath() {
    return GetFullPath();
}

std::wstring DocumentRecord::PathText() const {
    if (library_ == nullptr)
        return name_;
    std::wstring folder = library_->GetPath();
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder.push_back(L'\\');
    return folder + name_;
}

void DocumentRecord::Init() {
    nameItem_ = static_cast<DocumentRecordItemName*>(AddItem(new DocumentRecordItemName(
        new RecordNameEditor(this), [this] { Open(); }, library_, name_)));
    pathItem_ = AddItem(new Dravik::UI::SimpleTextReportItem(PathText().c_str()));
    AddItem(new PropertyItem);
    AddItem(new PropertyItem);
    AddItem(new PropertyItem);
    AddItem(new ReportRecordIconItem(40753, 40754));
    for (int i = 0; i < 4; ++i)
        AddItem(new PropertyItem);
    for (int i = 1; i < GetItemCount(); ++i)
        GetItem(i)->SetEditable(FALSE);
    ApplySortPriority();
}

void DocumentListRecord::Init() {
    DocumentRecord::Init();
    IConfiguration* configuration = GetConfiguration(library_);
    AddItem(new Dravik::UI::SimpleTextReportItem(configuration ? configuration->GetName().c_str() : L""));
}

CXTPReportRecordItem* DocumentListRecord::GetItem(CXTPReportColumn* column) const {
    if (column != nullptr && column->GetInternalName() == CString(L"Configuration"))
        return GetItem(kConfigurationItem);
    return DocumentRecord::GetItem(column);
}

void DocumentRecord::ApplySortPriority() {
    if (nameItem_ != nullptr)
        nameItem_->SetSortPriority(name_.starts_with(L"_") ? -1 : 0);
}

void DocumentRecord::ReadProperties() {
    ++propertiesReads_;
    const std::wstring path = GetFullPath();
    const CDVPropertySet properties = Dravik::DravikDocument2::ReadProperties(path.c_str());
    const std::wstring* texts[] = {&properties.GetAuthor(),   &properties.GetCompany(),
                                   &properties.GetComments(), &properties.GetTitle(),
                                   &properties.GetSubject(),  &properties.GetCategory(),
                                   &properties.GetKeywords()};
    for (std::size_t i = 0; i < std::size(kPropertyItems); ++i)
        if (CXTPReportRecordItem* item = GetItem(kPropertyItems[i]))
            item->SetCaption(texts[i]->c_str());
}

bool DocumentRecord::SetName(const std::wstring& name) {
    if (name == name_ || library_ == nullptr)
        return false;
    // A typed name goes to the shell only when it names a file of this folder.
    if (!IsValidDocumentName(name))
        return false;
    const std::wstring folder = GetLibraryAbsolutePath(library_);
    std::wstring from = folder + name_;
    std::wstring to = folder + name;
    from.push_back(L'\0');
    to.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    CWnd* main = AfxGetMainWnd();
    op.hwnd = main ? main->GetSafeHwnd() : nullptr;
    op.wFunc = FO_RENAME;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_ALLOWUNDO;
    return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

void DocumentRecord::ApplyName(const std::wstring& name) {
    name_ = name;
    if (nameItem_ != nullptr) {
        nameItem_->SetDocumentName(name);
        nameItem_->SetCaption(name.c_str());
    }
    ApplySortPriority();
    if (pathItem_ != nullptr)
        pathItem_->SetCaption(PathText().c_str());
}

void DocumentRecord::Open() {
    const std::wstring path = GetFullPath();
    if (CWinApp* app = AfxGetApp(); app != nullptr && !path.empty())
        app->OpenDocumentFile(path.c_str());
}

void DocumentRecord::OnKeyPressed(UINT key) {
    if (key == VK_RETURN)
        Open();
}

void DocumentRecord::ShowInPreview() {
    if (DocumentsMenuDlg* panel = GetOwnerDialog(this))
        panel->ShowDocument(library_, name_);
}

void DocumentRecord::SetHidden(bool hidden) {
    if (DocumentsMenuDlg* panel = GetOwnerDialog(this); panel && library_)
        panel->SetDocumentHidden(library_, name_, hidden);
}

bool DocumentRecord::IsHidden() {
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    return panel != nullptr && panel->IsDocumentHidden(library_, name_);
}

void DocumentRecord::BeginRename() {
    BeginEdit(0);
}

namespace {
DROPEFFECT dragEffect() {
    return ::GetKeyState(VK_CONTROL) < 0 ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}
} // namespace

void DocumentRecord::Drag() {
    if (const std::wstring path = GetFullPath(); !path.empty())
        FileClipboard::Instance().DragFiles(std::vector<std::wstring>{path}, dragEffect());
}

void DocumentRecord::DragSelection(const std::vector<Record*>& selected) {
    const std::vector<std::wstring> paths = documentPaths(selected);
    if (!paths.empty() && paths.size() == selected.size())
        FileClipboard::Instance().DragFiles(paths, dragEffect());
}

void DocumentRecord::BuildContextMenu(CXTPPopupBar* popup) {
    const std::wstring path = GetFullPath();
    using namespace DocumentMenuItems;
    add(popup, new OpenInExplorer(path));
    add(popup, new CopyFullPath(path));
    add(popup, new DocumentMenuItems::Open(path, true));
    add(popup, new Insert(path, false, library_));
    add(popup, new InsertAsImage(path, false, library_));
    add(popup, new DocumentMenuItems::Delete(path));
    add(popup, new RecordContextMenuItems::Rename(this, false));
    add(popup, new Properties(path));
    add(popup, new Cut(path, true));
    add(popup, new Copy(path));
    if (library_ != nullptr && !library_->IsExcluded()) {
        if (library_->IsDocumentExcluded(name_))
            add(popup, new Include(path, true, library_));
        else
            add(popup, new Exclude(path, true, library_));
    }
}

void DocumentRecord::BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) {
    const std::vector<std::wstring> paths = documentPaths(selected);
    if (paths.empty() || paths.size() != selected.size())
        return;
    using namespace DocumentMenuItems;
    add(popup, new DocumentMenuItems::Delete(paths));
    add(popup, new Cut(paths));
    add(popup, new Copy(paths));
    if (library_ != nullptr && !library_->IsExcluded()) {
        bool someIncluded = false, someExcluded = false;
        for (const std::wstring& p : paths)
            (library_->IsDocumentExcluded(fileNameOf(p)) ? someExcluded : someIncluded) = true;
        if (someIncluded)
            add(popup, new Exclude(paths, true, library_));
        if (someExcluded)
            add(popup, new Include(paths, true, library_));
    }
}

void PDMDocumentRecord::BuildContextMenu(CXTPPopupBar* popup) {
    const std::wstring path = GetFullPath();
    using namespace DocumentMenuItems;
    add(popup, new OpenInExplorer(path));
    add(popup, new DocumentMenuItems::Open(path, true));
    add(popup, new Insert(path, false, library_));
    add(popup, new InsertAsImage(path, false, library_));
    add(popup, new Properties(path));
    add(popup, new Copy(path, true));
    if (DVPDMWorkMix::Instance().IsEnabled())
        add(popup, new Update(path, true));
}

void PDMDocumentRecord::BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) {
    const std::vector<std::wstring> paths = documentPaths(selected);
    if (paths.empty() || paths.size() != selected.size())
        return;
    add(popup, new DocumentMenuItems::Copy(paths));
    if (DVPDMWorkMix::Instance().IsEnabled())
        add(popup, new DocumentMenuItems::Update(paths));
}

} // namespace DocumentsMenu
