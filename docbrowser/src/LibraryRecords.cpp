#include "docbrowser/LibraryRecords.h"

#include "docbrowser/ContextMenuItems.h"
#include "docbrowser/DocumentRecords.h"
#include "docbrowser/DocumentsMenuDlg.h"
#include "docbrowser/FileClipboard.h"
#include "docbrowser/LibrariesClipboard.h"
#include "docbrowser/RecordItems.h"

#include "DVPDMProxy/Files.h"
#include "DVPDMProxy/WorkMix.h"
#include "DVTextCore/SearchableText.h"
#include "DravikKernel/Settings.h"
#include "win/system/file.h"
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

bool folderExists(const std::wstring& folder) {
    return !folder.empty() && ::PathIsDirectoryW(folder.c_str());
}

std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::vector<LibraryRecord*> libraryRecords(const std::vector<Record*>& selected) {
    std::vector<LibraryRecord*> out;
    for (Record* r : selected) {
        auto* l = dynamic_cast<LibraryRecord*>(r);
        if (l == nullptr || l->GetLibrary() == nullptr)
            return {};
        out.push_back(l);
    }
    return out;
}

// Paths compare without regard to case or separator, as the model's do.
bool samePath(const std::wstring& a, const std::wstring& b) {
    CString x(a.c_str()), y(b.c_str());
    x.Replace(L'/', L'\\');
    y.Replace(L'/', L'\\');
    return x.CompareNoCase(y) == 0;
}

} // namespace

bool LibraryDocumentsMatch(ILibrary* library, const std::wstring& filter, const DocumentsMenuDlg* panel) {
    const std::wstring folder = GetLibraryAbsolutePath(library);
    if (folder.empty())
        return false;
    const bool showHidden = panel != nullptr && panel->IsShowHidden();
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"*." + L"grb").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool match = false;
    do {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
            !IsDocumentFileName(name) || name.starts_with(L"."))
            continue;
        if (!showHidden && panel != nullptr && panel->IsDocumentHidden(library, name))
            continue;
        match = MatchesSearch(name, filter);
    } while (!match && ::FindNextFileW(search, &found));
    ::FindClose(search);
    return match;
}

LibraryRecord::LibraryRecord(ILibrary* library, bool browse) : browse_(browse), library_(library) {}

LibraryRecord::~LibraryRecord() {
    if (library_ != nullptr)
        library_->RemoveClient(this);
    StopObserving();
}

void LibraryRecord::Init() {
    auto toggle = [this] {
        Expand(!IsExpanded());
        Repopulate();
    };
    name_ = static_cast<LibraryRecordItemName*>(
        AddItem(new LibraryRecordItemName(new RecordNameEditor(this), toggle, library_)));
    path_ = static_cast<ReportRecordItem*>(AddItem(new ReportRecordItem(new RecordPathEditor(this))));
    if (browse_)
        button_ = static_cast<LibraryRecordButtonBrowse*>(
            path_->AddButton(new LibraryRecordButtonBrowse(library_)));
    AddItem(new ReportRecordItem(new RecordAuthorEditor(this)));
    AddItem(new ReportRecordItem(new RecordCompanyEditor(this)));
    AddItem(new ReportRecordItem(new RecordCommentEditor(this)));
    AddItem(new ReportRecordIconItem(40753, 40754));
    AddPlaceholderChild();
    if (library_ != nullptr)
        library_->AddClient(this);
}

void LibraryListRecord::Init() {
    LibraryRecord::Init();
    IConfiguration* configuration = GetConfiguration(GetLibrary());
    auto* item = AddItem(new CXTPReportRecordItem(configuration ? configuration->GetName().c_str() : L""));
    item->SetEditable(FALSE);
}

std::wstring LibraryRecord::GetName() {
    return library_ ? library_->GetName() : std::wstring();
}
bool LibraryRecord::SetName(const std::wstring& name) {
    if (library_ == nullptr)
        return false;
    library_->SetName(name);
    return true;
}
std::wstring LibraryRecord::GetPath() {
    return library_ ? library_->GetPath() : std::wstring();
}
bool LibraryRecord::SetPath(const std::wstring& path) {
    if (library_ == nullptr)
        return false;
    library_->SetPath(path);
    return true;
}
std::wstring LibraryRecord::GetAuthor() {
    return library_ ? library_->GetAuthor() : std::wstring();
}
bool LibraryRecord::SetAuthor(const std::wstring& text) {
    if (library_ == nullptr)
        return false;
    library_->SetAuthor(text);
    return true;
}
std::wstring LibraryRecord::GetCompany() {
    return library_ ? library_->GetCompany() : std::wstring();
}
bool LibraryRecord::SetCompany(const std::wstring& text) {
    if (library_ == nullptr)
        return false;
    library_->SetCompany(text);
    return true;
}
std::wstring LibraryRecord::GetComment() {
    return library_ ? library_->GetComment() : std::wstring();
}
bool LibraryRecord::SetComment(const std::wstring& text) {
    if (library_ == nullptr)
        return false;
    library_->SetComment(text);
    return true;
}

void LibraryRecord::ShowInPreview() {
    if (DocumentsMenuDlg* panel = GetOwnerDialog(this))
        panel->ShowLibrary(library_);
}

void LibraryRecord::DragSelection(const std::vector<Record*>& selected) {
    std::vector<ILibrary*> libraries;
    for (LibraryRecord* r : libraryRecords(selected))
        libraries.push_back(r->GetLibrary());
    if (!libraries.empty())
        LibrariesClipboard::Instance().DragLibraries(libraries);
}

void LibraryRecord::Drag() {
    if (library_ != nullptr)
        LibrariesClipboard::Instance().DragLibraries({library_});
}

DROPEFFECT LibraryRecord::GetDropEffect(COleDataObject* data, DWORD keyState) {
    if (!folderExists(GetLibraryAbsolutePath(library_)))
        return DROPEFFECT_NONE;
    std::vector<std::wstring> files;
    FileClipboard::Instance().GetFiles(data, files);
    for (const std::wstring& f : files)
        if (IsDocumentFileName(f))
            return (keyState & MK_CONTROL) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    return DROPEFFECT_NONE;
}

bool LibraryRecord::Drop(COleDataObject* data, DROPEFFECT effect) {
    if (data == nullptr || library_ == nullptr)
        return false;
    // The drop does what its own effect says: the cursor showed it.
    return FileClipboard::Instance().DropData(data, GetLibraryAbsolutePath(library_), effect);
}

void LibraryRecord::BeginRename() {
    BeginEdit(0);
}

void LibraryRecord::SetHidden(bool hidden) {
    if (DocumentsMenuDlg* panel = GetOwnerDialog(this); panel && library_)
        panel->SetLibraryHidden(library_, hidden);
}

bool LibraryRecord::IsHidden() {
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    return panel != nullptr && panel->IsLibraryHidden(library_);
}

void LibraryRecord::SetExpanded(BOOL expanded) {
    Record::SetExpanded(expanded);
    if (DocumentsMenuDlg* panel = GetOwnerDialog(this))
        panel->SetLibraryExpanded(library_, expanded != FALSE);
    if (expanded && library_ != nullptr)
        Observe(GetLibraryAbsolutePath(library_));
}

DocumentRecord* LibraryRecord::CreateDocumentRecord(const std::wstring& name) {
    return new DocumentRecord(name, library_);
}
DocumentRecord* LibraryListRecord::CreateDocumentRecord(const std::wstring& name) {
    return new DocumentListRecord(name, GetLibrary());
}
DocumentRecord* PDMLibraryRecord::CreateDocumentRecord(const std::wstring& name) {
    return new PDMDocumentRecord(name, GetLibrary());
}

// The PDM system brings the repository folder up to date first; a refusal is told by the
// system's own report and the drawings on disk are listed all the same.
void PDMLibraryRecord::BeforeListing() {
    if (GetLibrary() == nullptr)
        return;
    const std::wstring path = GetLibraryAbsolutePath(GetLibrary());
    if (path.empty())
        return;
    try {
        if (std::shared_ptr<DVPDMFolderObject> folder = DVPDMWorkMix::Instance().FindFolder(path))
            folder->Refresh(false, GetSettings().pdmUpdate == 1);
    } catch (const DVPDMException& e) {
        e.Report();
    }
}

void LibraryRecord::UpdateChildren(const std::wstring& filter) {
    BeforeListing();
    ListDocuments(filter);
}

void LibraryRecord::ListDocuments(const std::wstring& filter) {
    GetChilds()->RemoveAll();
    DocumentsMenuDlg* panel = GetOwnerDialog(this);
    const bool showExcluded = panel != nullptr && panel->IsShowExcluded();
    const bool showHidden = panel != nullptr && panel->IsShowHidden();
    if (library_ != nullptr)
        ForEachLibraryDocument(library_, [&](const std::wstring& name, ILibrary* library, bool excluded) {
            if (excluded && !showExcluded)
                return true;
            if (!filter.empty() && !MatchesSearch(name, filter))
                return true;
            Record* child = AppendChild(CreateDocumentRecord(name), excluded);
            if (panel != nullptr && panel->IsDocumentHidden(library, name))
                child->SetVisible(showHidden);
            return true;
        });
    SetChildrenPopulated(true);
}

void LibraryRecord::Observe(const std::wstring& folder) {
    if (folder.empty() || folder == observed_)
        return;
    StopObserving();
    observed_ = folder;
    WatchDirectory(GetDirectoryWatcher(), SharedPathName(folder), this);
}

void LibraryRecord::StopObserving() {
    Detach();
    observed_.clear();
}

DocumentRecord* LibraryRecord::FindChild(const std::wstring& fullPath) const {
    auto* children = const_cast<LibraryRecord*>(this)->GetChilds();
    for (int i = 0; i < children->GetCount(); ++i)
        if (auto* d = dynamic_cast<DocumentRecord*>(children->GetAt(i));
            d && samePath(d->GetFullPath(), fullPath))
            return d;
    return nullptr;
}

void LibraryRecord::OnLibraryNameChanged(ILibrary*) {
    if (name_ && library_)
        name_->SetCaption(library_->GetName().c_str());
    Repopulate();
}

void LibraryRecord::OnLibraryRemoved(ILibrary*) {
    CXTPReportControl* control = GetControl();
    Delete();
    if (control)
        control->Populate();
}

void LibraryRecord::OnLibraryDestroyed(ILibrary*) {
    StopObserving();
    library_ = nullptr;
    if (name_)
        name_->ForgetLibrary();
    if (button_)
        button_->ForgetLibrary();
}

void LibraryRecord::OnLibraryContentsChanged(ILibrary*) {
    UpdateChildren(std::wstring());
    Repopulate();
}

void LibraryRecord::OnLibraryPathChanged(ILibrary*) {
    if (path_ && library_)
        path_->SetCaption(library_->GetPath().c_str());
    StopObserving();
    if (IsExpanded()) {
        UpdateChildren(std::wstring());
        Repopulate();
        Observe(GetLibraryAbsolutePath(library_));
    } else {
        SetChildrenPopulated(false);
    }
}

void LibraryRecord::OnFileAdded(const SharedPathName& path) {
    const std::wstring& full = path.asCString();
    if (!IsDocumentFileName(full) || library_ == nullptr)
        return;
    // A drawing that has its row already gets no second one.
    if (FindChild(full) == nullptr)
        AppendChild(CreateDocumentRecord(fileNameOf(full)), false);
    Expand(true);
    Repopulate();
}

void LibraryRecord::OnFileRemoved(const SharedPathName& path) {
    const std::wstring& full = path.asCString();
    if (library_ != nullptr)
        library_->SetDocumentExcluded(fileNameOf(full), false);
    if (DocumentRecord* child = FindChild(full))
        child->Delete();
    Repopulate();
}

void LibraryRecord::OnFileNameChanged(const SharedPathName& oldPath, const SharedPathName& newPath) {
    const std::wstring& from = oldPath.asCString();
    const std::wstring& to = newPath.asCString();
    const std::wstring oldName = fileNameOf(from);
    const std::wstring newName = fileNameOf(to);
    if (!IsDocumentFileName(from)) {
        if (IsDocumentFileName(to) && FindChild(to) == nullptr && library_ != nullptr)
            AppendChild(CreateDocumentRecord(newName), false);
        Repopulate();
        return;
    }
    DocumentRecord* child = FindChild(from);
    if (child == nullptr)
        return;
    const bool wasExcluded = library_ != nullptr && library_->IsDocumentExcluded(oldName);
    if (!IsDocumentFileName(to)) {
        child->Delete();
        if (wasExcluded)
            library_->SetDocumentExcluded(oldName, false);
    } else {
        child->ApplyName(newName);
        if (wasExcluded) {
            library_->SetDocumentExcluded(oldName, false);
            library_->SetDocumentExcluded(newName, true);
        }
    }
    Repopulate();
}

void LibraryRecord::BuildContextMenu(CXTPPopupBar* popup) {
    ILibrary* l = library_;
    if (l == nullptr)
        return;
    const std::wstring folder = GetLibraryAbsolutePath(l);
    const bool exists = folderExists(folder);
    if (exists) {
        add(popup, new FolderMenuItems::OpenInExplorer(folder));
        add(popup, new LibraryMenuItems::OpenClipart(l));
        auto* create = new ContextMenuPopupItem("docs_menu.ctx_menu.create", -1,
                                                popup ? popup->GetCommandBars() : nullptr);
        CXTPPopupBar* sub = static_cast<CXTPPopupBar*>(create->GetCommandBar());
        add(sub, new FolderMenuItems::Part2D(folder));
        add(sub, new FolderMenuItems::Assembly2D(folder));
        add(sub, new FolderMenuItems::Part3D(folder));
        add(sub, new FolderMenuItems::Assembly3D(folder));
        add(popup, create);
        if (::PathIsRelativeW(l->GetPath().c_str()))
            add(popup, new LibraryMenuItems::ConvertPathToAbsolute(l));
        else
            add(popup, new LibraryMenuItems::ConvertPathToRelative(l));
        add(popup, new LibraryMenuItems::CreateToolBar(l));
    }
    add(popup, new LibraryMenuItems::Remove(l));
    if (exists)
        add(popup, new FolderMenuItems::Delete(folder));
    add(popup, new RecordContextMenuItems::Rename(this, false));
    add(popup, new LibraryMenuItems::Cut(l, true));
    add(popup, new LibraryMenuItems::Copy(l));
    add(popup, new LibraryMenuItems::Paste(l));
    if (ILibrariesGroup* parent = l->GetParent()) {
        if (!parent->IsExcluded()) {
            if (l->IsExcluded())
                add(popup, new LibraryMenuItems::Include(l, true));
            else
                add(popup, new LibraryMenuItems::Exclude(l, true));
        }
        const bool standard = !parent->IsStandardElements();
        if (standard)
            add(popup, new LibraryMenuItems::StandardElements(l, true));
        add(popup, new LibraryMenuItems::SymbolElements(l, !standard));
    }
}

void LibraryRecord::BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) {
    const std::vector<LibraryRecord*> records = libraryRecords(selected);
    if (records.empty() || library_ == nullptr)
        return;
    std::vector<ILibrary*> all;
    std::vector<std::wstring> folders;
    bool someIncluded = false, someExcluded = false;
    for (LibraryRecord* r : records) {
        ILibrary* l = r->GetLibrary();
        all.push_back(l);
        folders.push_back(GetLibraryAbsolutePath(l));
        (l->IsExcluded() ? someExcluded : someIncluded) = true;
    }
    add(popup, new LibraryMenuItems::Remove(all));
    add(popup, new FolderMenuItems::Delete(folders));
    add(popup, new LibraryMenuItems::Cut(all));
    add(popup, new LibraryMenuItems::Copy(all));
    add(popup, new LibraryMenuItems::Replace(all));
    if (::PathIsRelativeW(library_->GetPath().c_str()))
        add(popup, new LibraryMenuItems::ConvertPathToAbsolute(all));
    else
        add(popup, new LibraryMenuItems::ConvertPathToRelative(all));
    if (ILibrariesGroup* parent = library_->GetParent()) {
        if (!parent->IsExcluded()) {
            if (someIncluded)
                add(popup, new LibraryMenuItems::Exclude(all, true));
            if (someExcluded)
                add(popup, new LibraryMenuItems::Include(all, true));
        }
        const bool standard = !parent->IsStandardElements();
        if (standard)
            add(popup, new LibraryMenuItems::StandardElements(all, true));
        add(popup, new LibraryMenuItems::SymbolElements(all, !standard));
    }
}

void PDMLibraryRecord::BuildContextMenu(CXTPPopupBar* popup) {
    ILibrary* l = GetLibrary();
    if (l == nullptr)
        return;
    const std::wstring folder = GetLibraryAbsolutePath(l);
    if (folderExists(folder)) {
        add(popup, new FolderMenuItems::OpenInExplorer(folder));
        add(popup, new LibraryMenuItems::OpenClipart(l));
        add(popup, new LibraryMenuItems::CreateToolBar(l));
    }
    add(popup, new LibraryMenuItems::Copy(l, true));
    if (DVPDMWorkMix::Instance().IsEnabled())
        add(popup, new LibraryMenuItems::Update(l, true));
}

void PDMLibraryRecord::BuildSelectionContextMenu(CXTPPopupBar* popup, const std::vector<Record*>& selected) {
    const std::vector<LibraryRecord*> records = libraryRecords(selected);
    if (records.empty() || GetLibrary() == nullptr)
        return;
    std::vector<ILibrary*> all;
    for (LibraryRecord* r : records)
        all.push_back(r->GetLibrary());
    add(popup, new LibraryMenuItems::Copy(all));
    if (DVPDMWorkMix::Instance().IsEnabled())
        add(popup, new LibraryMenuItems::Update(all));
    if (::PathIsRelativeW(GetLibrary()->GetPath().c_str()))
        add(popup, new LibraryMenuItems::ConvertPathToAbsolute(all));
    else
        add(popup, new LibraryMenuItems::ConvertPathToRelative(all));
}

} // namespace DocumentsMenu
