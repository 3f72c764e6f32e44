#include "DVPDMProxy/WorkMix.h"

#include "state.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/NotBuiltYet.h"

#include <functional>
#include <mutex>

namespace dvpdm::detail {

std::atomic<bool>& workMixEnabled() {
    static std::atomic<bool> enabled{false};
    return enabled;
}

std::atomic<bool>& workMixCanConnect() {
    static std::atomic<bool> can{false};
    return can;
}

std::atomic<bool>& pdmProgramsInstalled() {
    static std::atomic<bool> installed{false};
    return installed;
}

std::wstring& connectionName() {
    static std::wstring name;
    return name;
}

} // namespace dvpdm::detail

DVPDMWorkMix& DVPDMWorkMix::Instance() {
    static DVPDMWorkMix workMix;
    return workMix;
}

bool DVPDMWorkMix::IsEnabled() const {
    DV_NOT_BUILT_YET("the PDM system: the work mix is never connected");
    return dvpdm::detail::workMixEnabled().load();
}

bool DVPDMWorkMix::CanConnect() const {
    DV_NOT_BUILT_YET("the PDM system: no connection can be made");
    return dvpdm::detail::workMixCanConnect().load();
}

namespace {

std::mutex& listenerMutex() {
    static std::mutex mutex;
    return mutex;
}

std::function<void(bool)>& listener() {
    static std::function<void(bool)> heard;
    return heard;
}

void tell(bool connected) {
    std::function<void(bool)> heard;
    {
        std::lock_guard lock(listenerMutex());
        heard = listener();
    }
    if (heard)
        heard(connected);
}

} // namespace

bool DVPDMWorkMix::Connect(int mode, const wchar_t* connection) {
    (void)mode;
    (void)connection;
    DV_NOT_BUILT_YET("the PDM system: there is nothing to connect to");
    if (IsEnabled() || !CanConnect())
        return false;
    dvpdm::detail::workMixEnabled().store(true);
    tell(true);
    return true;
}

void DVPDMWorkMix::Disconnect() {
    if (dvpdm::detail::workMixEnabled().exchange(false))
        tell(false);
}

void DVPDMWorkMix::SetConnectionListener(std::function<void(bool)> heard) {
    std::lock_guard lock(listenerMutex());
    listener() = std::move(heard);
}

std::shared_ptr<DVPDMProxy> DVPDMWorkMix::GetProxy() const {
    return IsEnabled() ? std::make_shared<DVPDMProxy>() : nullptr;
}

long DVPDMProxy::GetIntegrationProfile(std::wstring& remembered, std::wstring& profile) {
    auto& scripted = dvpdm::detail::script();
    std::lock_guard lock(scripted.mutex);
    const dvpdm::detail::IntegrationProfile& answer = scripted.integrationProfile;
    scripted.calls.push_back(L"profile " + remembered);
    if (answer.code == 0) {
        profile = answer.profile;
        remembered = answer.remembered;
    }
    return answer.code;
}

std::shared_ptr<DVPDMObject> DVPDMWorkMix::GetPDMObject() const {
    return IsEnabled() ? std::make_shared<DVPDMObject>() : nullptr;
}

void DVPDMObject::RunWorkMix() {
    if (!DVPDMWorkMix::Instance().IsEnabled())
        throw DVPDMException("the PDM system is not connected");
    DV_NOT_BUILT_YET("the PDM system: the work-mix operation");
}

void DVPDMException::Report() const {
    DVLog_Write(DVLogWarning, "PDM: %s", what());
}

std::wstring DVPDMWorkMix::OrsaInfo() const {
    return IsEnabled() ? dvpdm::detail::connectionName() : std::wstring();
}

DVPdmApiProxy& DVPdmApiProxy::Instance() {
    static DVPdmApiProxy proxy;
    return proxy;
}

bool DVPdmApiProxy::HasInstalledPrograms() const {
    DV_NOT_BUILT_YET("the PDM system: no PDM programs are installed");
    return dvpdm::detail::pdmProgramsInstalled().load();
}
