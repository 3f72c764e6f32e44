#include "DravikKernel/test/hooks.h"

namespace dvkernel::test {

void setInstalledConfigurationsFolder(const std::wstring& folder) {
    detail::setInstalledConfigurationsFolder(folder);
}
void failStep(SessionStep step, bool fail) {
    detail::failStep(step, fail);
}
SessionState sessionState() {
    return detail::sessionState();
}
std::map<int, RegisteredCmd> registeredCommands() {
    return detail::registeredCommands();
}
bool macrosEnabled() {
    return detail::macrosEnabled();
}
std::wstring sessionLanguage() {
    return detail::sessionLanguage();
}
bool metric() {
    return detail::metric();
}
int brandCode() {
    return detail::brandCode();
}
unsigned idleCount() {
    return detail::idleCount();
}
void setCreateToolsMode(bool on) {
    detail::setCreateToolsMode(on);
}
void setProductIniFileName(const std::wstring& path) {
    detail::setProductIniFileName(path);
}
void failFileHash(bool fail) {
    detail::failFileHash(fail);
}
void throwOnOpen(const std::wstring& path) {
    detail::throwOnOpen(path);
}
void reset() {
    detail::reset();
}

} // namespace dvkernel::test
