#include "app/ServerAppProxy.h"

#include "app/Dvw32App.h"

void ServerAppProxy::SetRegistryProfileName(const wchar_t* name) {
    app_.SetRegistryProfileName(name);
}

bool ServerAppProxy::IsApplicationStateClear() const {
    return app_.IsApplicationStateClear();
}

void ServerAppProxy::AddRegisteredName(const wchar_t* name) {
    app_.AddRegisteredName(name);
}

bool ServerAppProxy::IsRegisteredName(const wchar_t* name) const {
    return app_.IsRegisteredName(name);
}

void ServerAppProxy::OnActivateDocument(CDvw32Doc* document) {
    app_.SetActiveDocument(document);
}

void ServerAppProxy::OnDocumentClosed(CDvw32Doc* document) {
    app_.OnDocumentClosed(document);
    app_.ForgetDocument(document);
}

std::wstring ServerAppProxy::GetApplicationsIniPath() {
    std::wstring path;
    app_.GetApplicationsIniPath(path);
    return path;
}

bool ServerAppProxy::SaveState() {
    return app_.SaveState() != FALSE;
}
