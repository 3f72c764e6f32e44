// The kernel's application-callback interface. The kernel never calls the shell's classes
// directly: it calls the one object derived from this base. The base implementations here
// are what the shell keeps when it does not override an operation.
#pragma once

#include "pal/visibility.h"

#include <string>

DV_EXPORTS_BEGIN

class CDvw32Doc;
class StatusLineProxy;

class ModuleProxy {
public:
    virtual ~ModuleProxy() = default;
    virtual bool IsLoaded() const { return true; }
};

class DravikServerAppProxy : public ModuleProxy {
public:
    DravikServerAppProxy();
    ~DravikServerAppProxy() override;
    DravikServerAppProxy(const DravikServerAppProxy&) = delete;
    DravikServerAppProxy& operator=(const DravikServerAppProxy&) = delete;

    // The callback object, or null before it is built and after it is destroyed.
    static DravikServerAppProxy* Instance();

    // The product INI: "<program name>.ini" in the program folder.
    virtual std::wstring GetProductIniFileName();
    // The document manager reports the document the person now works in (null: none), each time
    // it changes, and a listed document that closes (after it left the list). The base does
    // nothing with either.
    virtual void OnActivateDocument(CDvw32Doc* document);
    virtual void OnDocumentClosed(CDvw32Doc* document);
    // A document stopped being the active one (reason 1: another, or none, became active). The
    // base notes it in the kernel's record.
    virtual void OnDocumentDeactivated(CDvw32Doc* document, int reason);
    // Ends the running commands of a document, or of every document when it is null.
    virtual void TerminateAllCommands(CDvw32Doc* document, bool all);

    // Settings profiles (DravikKernel/ProfileManager.h). LoadState asks the application to apply
    // the frame state of the current profile; the base has none to apply and answers false.
    virtual bool LoadState();
    // Asked after the profile items saved theirs: the application keeps what it holds itself
    // (its commands and its main frames' state); the base has nothing to keep and answers false.
    virtual bool SaveState();
    // The extension of profile files; the base answers "dvenv".
    virtual std::wstring GetProfileFileExtension();
    // The registry section of the main frames' state in the current settings; the base answers
    // the default profile's "MainFrame" section.
    virtual std::wstring GetWindowsProfileCurrentSectionName();
    // The INI that lists the installed add-on applications; the base answers none.
    virtual std::wstring GetApplicationsIniPath();
    // The status line of the application's main frame, which the kernel writes prompts and
    // progress to; the base has none.
    virtual StatusLineProxy* GetStatusLine();
};

DV_EXPORTS_END
