#include "ribbon/ProfileCommands.h"

#include "DVDiagnostics/NotBuiltYet.h"
#include "DravikKernel/KernelServices.h"

#include "afxwin.h"

#include <string>
#include <vector>

namespace {

constexpr UINT kFirstApplyProfile = 1190;
constexpr UINT kResetFailedString = 41010;

// The settings profiles, in list order. The profile manager has none to offer in this build.
std::vector<std::wstring> profileNames() {
    DV_NOT_BUILT_YET("the settings profile manager: no profiles");
    return {};
}

int applyProfile(size_t index) {
    const std::vector<std::wstring> names = profileNames();
    if (index >= names.size())
        return 0;
    DV_NOT_BUILT_YET("ApplyProfile: the application of a settings profile");
    return 0;
}

} // namespace

int ApplyProfile1(std::int64_t) {
    return applyProfile(0);
}
int ApplyProfile2(std::int64_t) {
    return applyProfile(1);
}
int ApplyProfile3(std::int64_t) {
    return applyProfile(2);
}
int ApplyProfile4(std::int64_t) {
    return applyProfile(3);
}
int ApplyProfile5(std::int64_t) {
    return applyProfile(4);
}
int ApplyProfile6(std::int64_t) {
    return applyProfile(5);
}
int ApplyProfile7(std::int64_t) {
    return applyProfile(6);
}
int ApplyProfile8(std::int64_t) {
    return applyProfile(7);
}
int ApplyProfile9(std::int64_t) {
    return applyProfile(8);
}
int ApplyProfile10(std::int64_t) {
    return applyProfile(9);
}

void UpdateApplyProfile(CCmdUI* cmdUI) {
    if (cmdUI == nullptr)
        return;
    const bool exists =
        cmdUI->m_nID >= kFirstApplyProfile && cmdUI->m_nID - kFirstApplyProfile < profileNames().size();
    cmdUI->Enable(exists ? TRUE : FALSE);
}

int ResetSettings(std::int64_t) {
    if (DVMessageBox::Show(L"Reset all settings of the program to their defaults?",
                           MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    // The reset of the user's registry key, file associations and generated files is not part
    // of this build, so the reset cannot succeed; the user is told so.
    DV_NOT_BUILT_YET("ResetSettings: the reset of the user's settings");
    DVMessageBox::Show(DVLoadString(kResetFailedString).c_str(), MB_OK | MB_ICONERROR);
    return 1;
}

int Profiles(std::int64_t) {
    // The customise sheet comes with the frame tools engine of the main frame; without it
    // there is no page to show.
    DV_NOT_BUILT_YET("Profiles: the customise sheet of the frame tools");
    return 1;
}
