#include "DVPDMProxy/WorkMix.h"

#include "state.h"

#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/NotBuiltYet.h"

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

bool DVPDMWorkMix::Connect(int mode, const wchar_t* connection) {
    (void)mode;
    (void)connection;
    DV_NOT_BUILT_YET("the PDM system: there is nothing to connect to");
    return false;
}

void DVPDMWorkMix::Disconnect() {
    dvpdm::detail::workMixEnabled().store(false);
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
