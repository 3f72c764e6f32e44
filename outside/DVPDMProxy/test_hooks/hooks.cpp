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

namespace dvpdm::test {

void addFile(const FileScript& file) {
    auto& scripted = dvpdm::detail::script();
    std::lock_guard lock(scripted.mutex);
    scripted.files[dvpdm::detail::fold(file.path)] = {
        file.path,        file.state,    file.readOnly,   file.nomenclatureId, file.nomenclatureData,
        file.failRefresh, file.failLoad, file.failUpdate, file.failState,      file.failRevert};
}

void setProviderNomenclature(const std::wstring& path, std::wstring id, std::wstring data) {
    auto& scripted = dvpdm::detail::script();
    std::lock_guard lock(scripted.mutex);
    scripted.provider[dvpdm::detail::fold(path)] = {std::move(id), std::move(data)};
}

void failStoreOf(const std::wstring& version) {
    auto& scripted = dvpdm::detail::script();
    std::lock_guard lock(scripted.mutex);
    scripted.failingStores.insert(version);
}

void failNomenclatureRead(bool fail) {
    auto& scripted = dvpdm::detail::script();
    std::lock_guard lock(scripted.mutex);
    scripted.failNomenclatureRead = fail;
}

std::vector<std::wstring> calls() {
    auto& scripted = dvpdm::detail::script();
    std::lock_guard lock(scripted.mutex);
    return scripted.calls;
}

void clearScript() {
    auto& scripted = dvpdm::detail::script();
    std::lock_guard lock(scripted.mutex);
    scripted.files.clear();
    scripted.provider.clear();
    scripted.failingStores.clear();
    scripted.failNomenclatureRead = false;
    scripted.integrationProfile = {};
    scripted.calls.clear();
}

} // namespace dvpdm::test

namespace dvpdm::test {

void setIntegrationProfile(long code, std::wstring profile, std::wstring remembered) {
    auto& scripted = dvpdm::detail::script();
    std::lock_guard lock(scripted.mutex);
    scripted.integrationProfile = {code, std::move(profile), std::move(remembered)};
}

} // namespace dvpdm::test
