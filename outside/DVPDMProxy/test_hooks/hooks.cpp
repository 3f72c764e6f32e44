#include "DVPDMProxy/test/hooks.h"

#include "state.h"

namespace dvpdm::test {

void setWorkMixEnabled(bool enabled) {
    dvpdm::detail::workMixEnabled().store(enabled);
}

void setCanConnect(bool can) {
    dvpdm::detail::workMixCanConnect().store(can);
}

void setConnectionName(std::wstring name) {
    dvpdm::detail::connectionName() = std::move(name);
}

void setProgramsInstalled(bool installed) {
    dvpdm::detail::pdmProgramsInstalled().store(installed);
}

} // namespace dvpdm::test
