// The application-callback object: the one object through which the kernel reaches the
// shell. Owned by the application object, built with it and the last of it to go.
#pragma once

#include "DravikKernel/DravikServerAppProxy.h"
#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CDvw32App;

class ServerAppProxy : public DravikServerAppProxy {
public:
    explicit ServerAppProxy(CDvw32App& app) : app_(app) {}

    // The registry profile name (the last part of the application key).
    void SetRegistryProfileName(const wchar_t* name);
    bool IsApplicationStateClear() const;
    // Names the kernel registers, looked up without case; an empty name is never registered.
    void AddRegisteredName(const wchar_t* name);
    bool IsRegisteredName(const wchar_t* name) const;
    // The kernel's active document becomes the application's; a closed one stops being it.
    void OnActivateDocument(CDvw32Doc* document) override;
    void OnDocumentClosed(CDvw32Doc* document) override;
    std::wstring GetApplicationsIniPath() override;
    // The application's commands and its main frames' state, with the profiles' own.
    bool SaveState() override;
    // Whether the program works without reaching the network (no online help pages then).
    bool IsOfflineMode() const { return offline_; }
    void SetOfflineMode(bool offline) { offline_ = offline; }

private:
    CDvw32App& app_;
    bool offline_ = false;
};

DV_EXPORTS_END
