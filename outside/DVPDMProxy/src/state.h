// The work mix's switch and the files a test scripted, shared with the test hooks.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace dvpdm::detail {

std::atomic<bool>& workMixEnabled();
std::atomic<bool>& workMixCanConnect();
std::atomic<bool>& pdmProgramsInstalled();
// Set only by tests, while nothing else reads it.
std::wstring& connectionName();

// One file the PDM system knows, as a test describes it.
struct ScriptedFile {
    std::wstring path;
    int state = 1;
    bool readOnly = false;
    std::wstring nomenclatureId; // empty: the file's opening context is empty
    std::wstring nomenclatureData;
    bool failRefresh = false;
    bool failLoad = false;
    bool failUpdate = false;
    bool failState = false;
    bool failRevert = false;
};

// What the system's proxy answers for the integration parameters.
struct IntegrationProfile {
    long code = 1; // none named
    std::wstring profile;
    std::wstring remembered;
};

struct Script {
    std::mutex mutex;
    std::map<std::wstring, ScriptedFile> files;                             // by folded path
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> provider; // folded path: id, data
    std::set<std::wstring> failingStores;                                   // version names
    bool failNomenclatureRead = false;
    IntegrationProfile integrationProfile;
    std::vector<std::wstring> calls;
};
Script& script();
// Paths compare without case.
std::wstring fold(const std::wstring& path);
void record(std::wstring call);

} // namespace dvpdm::detail
