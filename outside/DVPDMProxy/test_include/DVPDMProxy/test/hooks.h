// Test hooks of the PDM stand-in. Product targets cannot include this header.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace dvpdm::test {

// Makes the work mix answer enabled (or not) from now on.
void setWorkMixEnabled(bool enabled);
// What the stand-in answers for a connection it could make, its name and installed programs.
void setCanConnect(bool can);
void setConnectionName(std::wstring name);
void setProgramsInstalled(bool installed);

// A file or repository folder the PDM system knows (its path compared without case) and how its
// operations answer.
struct FileScript {
    std::wstring path;
    int state = 1;
    bool readOnly = false;
    std::wstring nomenclatureId; // empty: the file opens with an empty context
    std::wstring nomenclatureData;
    bool failRefresh = false;
    bool failLoad = false;
    bool failUpdate = false;
    bool failState = false;
    bool failRevert = false;
};
void addFile(const FileScript& file);
// A path the system knows whose operations succeed, but for a refresh when it is to fail.
inline FileScript knownPath(std::wstring path, bool failRefresh = false) {
    FileScript script;
    script.path = std::move(path);
    script.failRefresh = failRefresh;
    return script;
}
// The nomenclature provider's object for a path.
void setProviderNomenclature(const std::wstring& path, std::wstring id, std::wstring data);
// The session object refuses to store the version of that name.
void failStoreOf(const std::wstring& version);
void failNomenclatureRead(bool fail);
// What the proxy answers for the profile of the integration parameters: its code (0: apply
// `profile`) and what the program is to remember of it.
void setIntegrationProfile(long code, std::wstring profile, std::wstring remembered);
// The operations asked of the system, in order ("reset <path>", "refresh <path> 1 0",
// "load <path>", "update <path> 1", "edit <path> 1 0 1 1", "store <path> <version> 1 <id>",
// "read <id>", "profile <remembered>", "revert <path>", "process <path>",
// "refresh folder <path> 0 1").
std::vector<std::wstring> calls();
// Forgets every scripted file, failure and call.
void clearScript();

} // namespace dvpdm::test
