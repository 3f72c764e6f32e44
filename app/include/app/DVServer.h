// The automation server "DVW32.SERVER": the application object other programs create to open,
// find, enumerate and close documents, to work with the documents browser's libraries and to
// send commands to the main window. Every client gets its own DVServer over the one running
// program; while any exists the program stays locked.
#pragma once

#include "afxdisp.h"
#include "pal/visibility.h"

#include <optional>
#include <string>

DV_EXPORTS_BEGIN

class COleTemplateServer;
class CDocTemplate;

inline constexpr wchar_t kServerProgId[] = L"DVW32.SERVER";
// The class ids of the two factories and of the documents served through the template server.
#define DV_SERVER_STATIC_CLSID 0x34FF1B92, 0x6F6F, 0x11D0, 0x81, 0xC9, 0x00, 0x4F, 0x56, 0x00, 0x9C, 0x20
inline constexpr CLSID kServerFactoryClsid = {
    0x34FF1B91, 0x6F6F, 0x11D0, {0x81, 0xC9, 0x00, 0x4F, 0x56, 0x00, 0x9C, 0x20}};
inline constexpr CLSID kServerDocumentClsid = {
    0xF5CBECA0, 0x3A0A, 0x11CF, {0xA3, 0xA7, 0x00, 0x4F, 0x56, 0x00, 0x9C, 0x20}};

// The application's own factory of DVServer (the application object holds one).
class DVServerFactory : public COleObjectFactory {
public:
    DVServerFactory();
};

// Writes the server's class registry entries (ProgID to the application's factory); done by
// start-up and by registration runs.
BOOL UpdateServerRegistry(DVServerFactory& factory);
// Makes the server reachable by clients: the registry entries, the document template served
// under the document class id when one is given, and every factory registered for multiple use.
BOOL RegisterAutomationServer(DVServerFactory& factory, COleTemplateServer* templateServer = nullptr,
                              CDocTemplate* docTemplate = nullptr);

// A path as OpenFile and OpenFileEx take it, with a library of the active configuration or a
// profiles folder named in angle brackets, made a plain path. None when the path names a
// library nobody knows: such a call fails rather than open some other file.
std::optional<std::wstring> ResolveServerPath(const std::wstring& path);

class DVServer : public CCmdTarget {
    DECLARE_DYNCREATE(DVServer)
    DECLARE_OLECREATE(DVServer)
public:
    DVServer();
    ~DVServer() override;

    LPDISPATCH OpenFile(LPCWSTR path);
    LPDISPATCH FindFile(LPCWSTR path);
    LPDISPATCH GetActiveFile();
    short OpenLibraryConfiguration(LPCWSTR path);
    short CloseLibraryConfiguration();
    short SaveLibraryConfiguration();
    short SaveLibraryConfigurationAs(LPCWSTR path);
    short CreateLibrary(LPCWSTR name, LPCWSTR a, LPCWSTR b, LPCWSTR c, LPCWSTR d);
    short CreateLibraryFile(LPCWSTR a, LPCWSTR b);
    short ShowApplication(short show);
    short CloseFile(LPCWSTR path);
    LPDISPATCH OpenFileEx(LPCWSTR path, short flagA, short mode);
    BSTR GetFirstFile(short* position);
    BSTR GetNextFile(short* position);
    void SetFocus();
    short GetPreview(LPCWSTR path);
    short GetIcon(LPCWSTR path);
    short ReleasePreview();
    short ReleaseIcon();
    short DrawPreview(LONG dc, short a, short b, short c, short d, short e);
    short DrawIcon(LONG dc, short a, short b, short c, short d, short e);
    LPDISPATCH Import(short kind, LPCWSTR path, LONG flags);
    short GetLibraryCount();
    BSTR GetLibraryName(short index);
    BSTR GetLibraryPath(short index);
    short SetLibraryPath(LPCWSTR name, LPCWSTR path);
    short SetCurrentFolder(LPCWSTR path, LONG mask);
    short ExtractFileIcon(LPCWSTR file, LPCWSTR output, short width, short height, LONG unused);
    LPDISPATCH CreateNewFile();
    LONG GetVersion();
    LONG GetVersionType();
    LONG GetVersionInfo();
    LONG Quit();
    BSTR GetFirstFileEx();
    BSTR GetNextFileEx();
    LONG ProcessCommand(short id);
    LONG SetAutomaticLinkUpdate(LONG on);

private:
    // Kept per client: interleaved clients enumerate without disturbing each other.
    int enumPosition_ = 0;
    DECLARE_DISPATCH_MAP()
};

DV_EXPORTS_END
