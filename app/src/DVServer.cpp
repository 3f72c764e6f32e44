#include "app/DVServer.h"

#include "app/DocumentAutomation.h"

#include "DravikKernel/DocumentImage.h"
#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/DocumentsMenu.h"
#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/KernelHelpers.h"
#include "DravikKernel/KernelServices.h"
#include "afx/filedialog.h"
#include "afx/oletemplate.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace DocumentsMenu;

// The server's images: one preview and one icon for the whole process, each replaced by the
// next load.
std::unique_ptr<CDravikImage>& previewImage() {
    static std::unique_ptr<CDravikImage> image;
    return image;
}
std::unique_ptr<CDravikImage>& iconImage() {
    static std::unique_ptr<CDravikImage> image;
    return image;
}

// Automatic link update is on until a client switches it off; the companion setting follows.
struct LinkUpdate {
    bool off = false;
    bool companionOff = false;
};
LinkUpdate& linkUpdate() {
    static LinkUpdate state;
    return state;
}

// The folders the file dialogs remember, by the bit of SetCurrentFolder's mask.
constexpr std::array<const wchar_t*, 18> kDialogKeys = {
    L"DialogOpen",           L"DialogBOMTextReport", L"DialogAnimateMetafile", L"DialogInsertMetafile",
    L"DialogExportProfile",  L"DialogWriteReport",   L"DialogWriteStructure",  L"DialogReadParameters",
    L"DialogExportBOMTable", L"DialogExportPreview", L"DialogExportSlide",     L"DialogInsertFragment",
    L"DialogExportDrawing",  L"DialogImportDrawing", L"DialogImportText",      L"DialogExportText",
    L"DialogOpenLibraries",  L"DialogSaveLibraries",
};

IConfiguration* currentConfiguration() {
    return FindActiveCfg(GlobalCfgGroup());
}

BSTR text(const std::wstring& s) {
    return SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
}

std::vector<CDvw32Doc*> openDocuments() {
    return Dravik::DocumentManager::Instance().GetDocuments();
}

BSTR pathAt(int index) {
    const auto docs = openDocuments();
    if (index < 0 || static_cast<std::size_t>(index) >= docs.size())
        return text(L"");
    return text(docs[static_cast<std::size_t>(index)]->GetPathName().GetString());
}

bool fileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Opens a document for a client: the kernel marks what opens meanwhile as opened by automation.
template <class Open> LPDISPATCH openForClient(LPCWSTR path, Open open) {
    const auto resolved = ResolveServerPath(path);
    if (!resolved || resolved->empty())
        return nullptr;
    const bool was = g_bOpeningFromOLE;
    g_bOpeningFromOLE = true;
    CDvw32Doc* document = open(*resolved);
    g_bOpeningFromOLE = was;
    return GetDocumentDispatch(document);
}

short loadImage(std::unique_ptr<CDravikImage>& cache, LPCWSTR path, const wchar_t* name) {
    cache.reset(DvwLoadDVDocImage(path, name));
    return cache ? 1 : 0;
}

void put16(std::vector<BYTE>& out, unsigned value) {
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}
void put32(std::vector<BYTE>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// The bitmap as the bytes of a Windows bitmap file: 32 bits a pixel, rows bottom-up.
bool bitmapFile(HDC dc, HBITMAP bitmap, int width, int height, std::vector<BYTE>& out) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) != height)
        return false;
    constexpr std::uint32_t kHeaders = 14 + 40;
    out.clear();
    out.push_back('B');
    out.push_back('M');
    put32(out, kHeaders + static_cast<std::uint32_t>(pixels.size()));
    put32(out, 0);
    put32(out, kHeaders);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 32);
    put32(out, BI_RGB);
    put32(out, static_cast<std::uint32_t>(pixels.size()));
    put32(out, 2835); // 72 dots an inch
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return true;
}

bool writeWholeFile(LPCWSTR path, const std::vector<BYTE>& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

} // namespace

IMPLEMENT_DYNCREATE(DVServer, CCmdTarget)
// A macro between, so that the class id's parts reach IMPLEMENT_OLECREATE as separate arguments.
#define DV_IMPLEMENT_OLECREATE(class_name, external_name, ...)                                               \
    IMPLEMENT_OLECREATE(class_name, external_name, __VA_ARGS__)
DV_IMPLEMENT_OLECREATE(DVServer, "DVW32.SERVER", DV_SERVER_STATIC_CLSID)

DVServerFactory::DVServerFactory()
    : COleObjectFactory(kServerFactoryClsid, RUNTIME_CLASS(DVServer), FALSE, kServerProgId) {
    EnableAutomation();
}

BOOL UpdateServerRegistry(DVServerFactory& factory) {
    return factory.UpdateRegistry(kServerProgId);
}

BOOL RegisterAutomationServer(DVServerFactory& factory, COleTemplateServer* templateServer,
                              CDocTemplate* docTemplate) {
    if (templateServer && docTemplate)
        templateServer->ConnectTemplate(kServerDocumentClsid, docTemplate, FALSE);
    const BOOL written = UpdateServerRegistry(factory);
    return COleObjectFactory::RegisterAll() && written;
}

std::optional<std::wstring> ResolveServerPath(const std::wstring& path) {
    const std::size_t open = path.find(L'<');
    if (open == std::wstring::npos)
        return path;
    const std::size_t close = path.rfind(L'>');
    if (close == std::wstring::npos || close < open)
        return path;
    if (close + 1 == path.size())
        return std::wstring();
    const std::wstring name = path.substr(open + 1, close - open - 1);
    const std::wstring rest = path.substr(close + 1);
    if (!name.empty() && name.front() == L'@')
        return DVAppendProgramPath(L"profiles", 0, false) + L"\\" + name.substr(1) + L"\\" + rest;
    const ILibrary* library = FindLibraryByName(currentConfiguration(), name.c_str());
    if (!library)
        return std::nullopt;
    return path.substr(0, open) + GetLibraryAbsolutePath(library) + rest;
}

DVServer::DVServer() {
    EnableAutomation();
    AfxOleLockApp();
}

DVServer::~DVServer() {
    previewImage().reset();
    iconImage().reset();
    AfxOleUnlockApp();
}

LPDISPATCH DVServer::OpenFile(LPCWSTR path) {
    // The application's own open, as a person's: work sessions open their drawings, an open
    // drawing is found, and a failure is told (a client started unattended has it answered).
    return openForClient(path, [](const std::wstring& p) -> CDvw32Doc* {
        CWinApp* app = AfxGetApp();
        return app != nullptr ? dynamic_cast<CDvw32Doc*>(app->OpenDocumentFile(p.c_str())) : nullptr;
    });
}

LPDISPATCH DVServer::FindFile(LPCWSTR path) {
    for (CDvw32Doc* doc : openDocuments())
        if (lstrcmpiW(doc->GetPathName().GetString(), path) == 0)
            return GetDocumentDispatch(doc);
    return nullptr;
}

LPDISPATCH DVServer::GetActiveFile() {
    return GetDocumentDispatch(DVGetActiveDoc());
}

short DVServer::OpenLibraryConfiguration(LPCWSTR path) {
    std::wstring file = path;
    if (!fileExists(file)) {
        const std::wstring filter = DVLoadString(2238);
        CFileDialog dialog(FALSE, L"tws", file.c_str(), OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING,
                           filter.empty() ? nullptr : filter.c_str(), nullptr, 0, TRUE);
        if (dialog.DoModal() != IDOK)
            return 0;
        file = dialog.GetPathName().GetString();
    }
    IConfigurationsGroup& group = GlobalCfgGroup();
    if (fileExists(file))
        return OpenConfigurationFile(group, file, nullptr) ? 1 : 0;
    // A file chosen in the dialog that is not there yet: a new configuration is kept in it.
    std::wstring name = file.substr(file.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.rfind(L'.'));
    auto configuration = CreateConfiguration(name.c_str(), false);
    configuration->SetPath(file);
    if (!configuration->Save(false))
        return 0;
    IConfiguration* added = group.Add(std::move(configuration));
    if (added == nullptr)
        return 0;
    added->SetActive(true);
    return 1;
}

short DVServer::CloseLibraryConfiguration() {
    IConfiguration* configuration = currentConfiguration();
    if (!configuration)
        return 0;
    configuration->Save(true);
    configuration->SetActive(false);
    return 1;
}

short DVServer::SaveLibraryConfiguration() {
    IConfiguration* configuration = currentConfiguration();
    if (!configuration)
        return 0;
    configuration->Save(true);
    return 1;
}

// The configuration asks for its new file itself, as its Save As command does: the client's
// path is not used.
short DVServer::SaveLibraryConfigurationAs(LPCWSTR) {
    IConfiguration* configuration = currentConfiguration();
    if (!configuration)
        return 0;
    configuration->SaveAs();
    return 1;
}

// The name, then the folder, the author, the company and the comment, in the order the library
// takes them.
short DVServer::CreateLibrary(LPCWSTR name, LPCWSTR path, LPCWSTR author, LPCWSTR company, LPCWSTR comment) {
    IConfiguration* configuration = currentConfiguration();
    if (!configuration)
        return 0;
    const auto orEmpty = [](LPCWSTR text) { return std::wstring(text != nullptr ? text : L""); };
    auto library = DocumentsMenu::CreateLibrary(orEmpty(path).c_str());
    if (!library)
        return 0;
    library->SetName(orEmpty(name));
    library->SetAuthor(orEmpty(author));
    library->SetCompany(orEmpty(company));
    library->SetComment(orEmpty(comment));
    return configuration->AddLibrary(std::move(library)) ? 1 : 0;
}

short DVServer::CreateLibraryFile(LPCWSTR, LPCWSTR) {
    return 0;
}

short DVServer::ShowApplication(short show) {
    CWnd* frame = AfxGetMainWnd();
    if (!frame)
        return 0;
    // The show command the window's placement holds: how it is shown now.
    const HWND hwnd = frame->GetSafeHwnd();
    const short previous = IsIconic(hwnd)   ? SW_SHOWMINIMIZED
                           : IsZoomed(hwnd) ? SW_SHOWMAXIMIZED
                                            : SW_SHOWNORMAL;
    ShowWindow(hwnd, show);
    return previous;
}

short DVServer::CloseFile(LPCWSTR path) {
    if (path == nullptr || *path == 0)
        return 0;
    // Two drawings here may differ only by case: only the very file is closed.
    const std::wstring full = Dravik::DocumentManager::FullPath(path);
    for (CDvw32Doc* doc : openDocuments()) {
        if (full != doc->GetPathName().GetString())
            continue;
        // A client cannot answer for changes it did not make: they are kept.
        if (doc->IsModified())
            return 0;
        doc->OnCloseDocument();
        return 1;
    }
    return 0;
}

LPDISPATCH DVServer::OpenFileEx(LPCWSTR path, short flagA, short mode) {
    return openForClient(path, [&](const std::wstring& p) {
        DocInitParams params = Dravik::DocumentManager::GetDefaultInitParams();
        if (flagA != 0)
            params.flags |= DocInitParams::kHidden;
        if (mode == 2)
            params.flags |= DocInitParams::kReadOnly;
        std::wstring error;
        return Dravik::DocumentManager::Instance().OpenDocumentFile(p, params, &error);
    });
}

BSTR DVServer::GetFirstFile(short* position) {
    *position = -1;
    if (openDocuments().empty())
        return text(L"");
    *position = 0;
    return pathAt(0);
}

BSTR DVServer::GetNextFile(short* position) {
    const int next = *position + 1;
    if (next < 0 || static_cast<std::size_t>(next) >= openDocuments().size()) {
        *position = -1;
        return text(L"");
    }
    *position = static_cast<short>(next);
    return pathAt(next);
}

void DVServer::SetFocus() {
    if (CWnd* frame = AfxGetMainWnd())
        SetForegroundWindow(frame->GetSafeHwnd());
}

short DVServer::GetPreview(LPCWSTR path) {
    return loadImage(previewImage(), path, g_szDocPV);
}

short DVServer::GetIcon(LPCWSTR path) {
    return loadImage(iconImage(), path, g_szDocIcon);
}

short DVServer::ReleasePreview() {
    previewImage().reset();
    return 0;
}

short DVServer::ReleaseIcon() {
    iconImage().reset();
    return 0;
}

short DVServer::DrawPreview(LONG, short, short, short, short, short) {
    return 0;
}

short DVServer::DrawIcon(LONG, short, short, short, short, short) {
    return 0;
}

LPDISPATCH DVServer::Import(short, LPCWSTR, LONG) {
    return nullptr;
}

// The libraries of the current configuration, in the order the browser's tree lists them.
short DVServer::GetLibraryCount() {
    return static_cast<short>(CollectAllLibraries(currentConfiguration()).size());
}

namespace {

const ILibrary* libraryAt(short index) {
    const std::vector<ILibrary*> libraries = CollectAllLibraries(currentConfiguration());
    return index >= 0 && static_cast<std::size_t>(index) < libraries.size() ? libraries[index] : nullptr;
}

} // namespace

BSTR DVServer::GetLibraryName(short index) {
    const ILibrary* library = libraryAt(index);
    return library ? text(library->GetName()) : nullptr;
}

BSTR DVServer::GetLibraryPath(short index) {
    const ILibrary* library = libraryAt(index);
    return library ? text(GetLibraryAbsolutePath(library)) : nullptr;
}

short DVServer::SetLibraryPath(LPCWSTR name, LPCWSTR path) {
    ILibrary* library = FindLibraryByName(currentConfiguration(), name);
    if (library == nullptr || path == nullptr || *path == 0)
        return 0;
    library->SetPath(path);
    return 1;
}

short DVServer::SetCurrentFolder(LPCWSTR path, LONG mask) {
    bool stored = false;
    for (std::size_t bit = 0; bit < kDialogKeys.size(); ++bit)
        if ((static_cast<DWORD>(mask) >> bit) & 1)
            stored = CPathManager::SavePath(kDialogKeys[bit], path) || stored;
    return stored ? 1 : 0;
}

short DVServer::ExtractFileIcon(LPCWSTR file, LPCWSTR output, short width, short height, LONG) {
    const std::unique_ptr<CDravikImage> icon(DvwLoadDVDocImage(file, g_szDocIcon));
    if (!icon || width < 1 || height < 1)
        return 0;
    HDC display = GetDC(nullptr);
    HBITMAP bitmap = icon->CreateBitmap(display, width, height);
    std::vector<BYTE> bytes;
    const bool made = bitmap && bitmapFile(display, bitmap, width, height, bytes);
    if (bitmap)
        DeleteObject(bitmap);
    ReleaseDC(nullptr, display);
    return made && writeWholeFile(output, bytes) ? 1 : 0;
}

LPDISPATCH DVServer::CreateNewFile() {
    DocInitParams params = Dravik::DocumentManager::GetDefaultInitParams();
    params.flags |= DocInitParams::kCreateNew;
    std::wstring error;
    return GetDocumentDispatch(Dravik::DocumentManager::Instance().OpenDocumentFile(L"", params, &error));
}

LONG DVServer::GetVersion() {
    return 1800;
}

LONG DVServer::GetVersionType() {
    const CDVCom_Is3D* module = CDVCom_Is3D::Instance();
    switch (module ? module->GetKind() : 0) {
    case CDVCom_Is3D::SolidEdit:
        return 4;
    case CDVCom_Is3D::Modelling:
        return 3;
    default:
        return 0;
    }
}

LONG DVServer::GetVersionInfo() {
    return 1;
}

LONG DVServer::Quit() {
    // The program ends once this call has answered, through its one shut-down: the message loop
    // ends and runs it.
    PostQuitMessage(0);
    return 0;
}

BSTR DVServer::GetFirstFileEx() {
    enumPosition_ = 0;
    return pathAt(enumPosition_);
}

BSTR DVServer::GetNextFileEx() {
    return pathAt(++enumPosition_);
}

LONG DVServer::ProcessCommand(short id) {
    if (CWnd* frame = AfxGetMainWnd())
        DravikSafeSendMessage(frame->GetSafeHwnd(), WM_COMMAND,
                              static_cast<WPARAM>(static_cast<LONG_PTR>(id)), 0);
    return 1;
}

LONG DVServer::SetAutomaticLinkUpdate(LONG on) {
    LinkUpdate& state = linkUpdate();
    const LONG wasOn = state.off ? 0 : 1;
    state.off = state.companionOff = on == 0;
    return wasOn;
}

BEGIN_DISPATCH_MAP(DVServer, CCmdTarget)
DISP_FUNCTION(DVServer, "OpenFile", OpenFile, VT_DISPATCH, VTS_BSTR)
DISP_FUNCTION(DVServer, "FindFile", FindFile, VT_DISPATCH, VTS_BSTR)
DISP_FUNCTION(DVServer, "GetActiveFile", GetActiveFile, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(DVServer, "OpenLibraryConfiguration", OpenLibraryConfiguration, VT_I2, VTS_BSTR)
DISP_FUNCTION(DVServer, "CloseLibraryConfiguration", CloseLibraryConfiguration, VT_I2, VTS_NONE)
DISP_FUNCTION(DVServer, "SaveLibraryConfiguration", SaveLibraryConfiguration, VT_I2, VTS_NONE)
DISP_FUNCTION(DVServer, "SaveLibraryConfigurationAs", SaveLibraryConfigurationAs, VT_I2, VTS_BSTR)
DISP_FUNCTION(DVServer, "CreateLibrary", CreateLibrary, VT_I2, VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(DVServer, "CreateLibraryFile", CreateLibraryFile, VT_I2, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(DVServer, "ShowApplication", ShowApplication, VT_I2, VTS_I2)
DISP_FUNCTION(DVServer, "CloseFile", CloseFile, VT_I2, VTS_BSTR)
DISP_FUNCTION(DVServer, "OpenFileEx", OpenFileEx, VT_DISPATCH, VTS_BSTR VTS_I2 VTS_I2)
DISP_FUNCTION(DVServer, "GetFirstFile", GetFirstFile, VT_BSTR, VTS_PI2)
DISP_FUNCTION(DVServer, "GetNextFile", GetNextFile, VT_BSTR, VTS_PI2)
DISP_FUNCTION(DVServer, "SetFocus", SetFocus, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(DVServer, "GetPreview", GetPreview, VT_I2, VTS_BSTR)
DISP_FUNCTION(DVServer, "GetIcon", GetIcon, VT_I2, VTS_BSTR)
DISP_FUNCTION(DVServer, "ReleasePreview", ReleasePreview, VT_I2, VTS_NONE)
DISP_FUNCTION(DVServer, "ReleaseIcon", ReleaseIcon, VT_I2, VTS_NONE)
DISP_FUNCTION(DVServer, "DrawPreview", DrawPreview, VT_I2, VTS_I4 VTS_I2 VTS_I2 VTS_I2 VTS_I2 VTS_I2)
DISP_FUNCTION(DVServer, "DrawIcon", DrawIcon, VT_I2, VTS_I4 VTS_I2 VTS_I2 VTS_I2 VTS_I2 VTS_I2)
DISP_FUNCTION(DVServer, "Import", Import, VT_DISPATCH, VTS_I2 VTS_BSTR VTS_I4)
DISP_FUNCTION(DVServer, "GetLibraryCount", GetLibraryCount, VT_I2, VTS_NONE)
DISP_FUNCTION(DVServer, "GetLibraryName", GetLibraryName, VT_BSTR, VTS_I2)
DISP_FUNCTION(DVServer, "GetLibraryPath", GetLibraryPath, VT_BSTR, VTS_I2)
DISP_FUNCTION(DVServer, "SetLibraryPath", SetLibraryPath, VT_I2, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(DVServer, "SetCurrentFolder", SetCurrentFolder, VT_I2, VTS_BSTR VTS_I4)
DISP_FUNCTION(DVServer, "ExtractFileIcon", ExtractFileIcon, VT_I2, VTS_BSTR VTS_BSTR VTS_I2 VTS_I2 VTS_I4)
DISP_FUNCTION(DVServer, "CreateNewFile", CreateNewFile, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(DVServer, "GetVersion", GetVersion, VT_I4, VTS_NONE)
DISP_FUNCTION(DVServer, "GetVersionType", GetVersionType, VT_I4, VTS_NONE)
DISP_FUNCTION(DVServer, "GetVersionInfo", GetVersionInfo, VT_I4, VTS_NONE)
DISP_FUNCTION(DVServer, "Quit", Quit, VT_I4, VTS_NONE)
DISP_FUNCTION(DVServer, "GetFirstFileEx", GetFirstFileEx, VT_BSTR, VTS_NONE)
DISP_FUNCTION(DVServer, "GetNextFileEx", GetNextFileEx, VT_BSTR, VTS_NONE)
DISP_FUNCTION(DVServer, "ProcessCommand", ProcessCommand, VT_I4, VTS_I2)
DISP_FUNCTION(DVServer, "SetAutomaticLinkUpdate", SetAutomaticLinkUpdate, VT_I4, VTS_I4)
END_DISPATCH_MAP()
