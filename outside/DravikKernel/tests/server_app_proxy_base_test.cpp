// The callback base without a shell: what the kernel gets when no application overrides a
// question or request, each asked through DravikServerAppProxy::Instance().
#include "DravikKernel/DravikServerAppProxy.h"

#include "DravikKernel/DocumentManager.h"
#include "DravikKernel/UniqueIdentifier.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

std::string yes(bool value) {
    return value ? "true" : "false";
}
std::string some(const void* value) {
    return value != nullptr ? "some" : "null";
}

TEST(ServerAppProxyBase, WithoutAShellEveryRowGetsItsNeutralAnswer) {
    DravikServerAppProxy base;
    DravikServerAppProxy& k = *DravikServerAppProxy::Instance();
    struct Row {
        const char* name;
        std::function<std::string()> ask;
        std::string expected;
    };
    RECT rect{1, 2, 3, 4};
    FrameInterfaceSettings settings{5, 6, 7};
    const Row rows[] = {
        {"IsRibbonApplication", [&] { return yes(k.IsRibbonApplication()); }, "true"},
        {"IsSavingStateAtExit", [&] { return yes(k.IsSavingStateAtExit()); }, "false"},
        {"IsServerMode", [&] { return yes(k.IsServerMode()); }, "false"},
        {"BuildDate", [&] { return std::to_string(k.BuildDate().size()); }, "11"},
        {"GetDocumentManager", [&] { return some(k.GetDocumentManager()); }, "some"},
        {"GetDumpFileContext", [&] { return some(k.GetDumpFileContext()); }, "some"},
        {"GetProductName", [&] { return yes(!k.GetProductName().empty()); }, "true"},
        {"GetActiveDocument", [&] { return some(k.GetActiveDocument()); }, "null"},
        {"GetBirdsEyeView", [&] { return some(k.GetBirdsEyeView()); }, "null"},
        {"IsPaneForCommand826Open", [&] { return yes(k.IsPaneForCommand826Open()); }, "false"},
        {"GetSyspanelControl2042", [&] { return std::to_string(k.GetSyspanelControl2042()); }, "2"},
        {"GetSyspanelSelected3DObject", [&] { return some(k.GetSyspanelSelected3DObject()); }, "null"},
        {"GetFrameRibbonBar", [&] { return some(k.GetFrameRibbonBar(nullptr)); }, "null"},
        {"GetFrameInterfaceSettings",
         [&] {
             return yes(k.GetFrameInterfaceSettings(nullptr, settings)) +
                    std::to_string(settings.analysisMode);
         },
         "false5"},
        {"IsApplicationStateClear", [&] { return yes(k.IsApplicationStateClear()); }, "true"},
        {"IsApplicationCommandId 17000", [&] { return yes(k.IsApplicationCommandId(17000)); }, "true"},
        {"IsApplicationCommandId 32001", [&] { return yes(k.IsApplicationCommandId(32001)); }, "false"},
        {"FindApplicationCommandByKeyText",
         [&] { return std::to_string(k.FindApplicationCommandByKeyText(L"x", 1)); }, "0"},
        {"SelectCommandId", [&] { return yes(k.SelectCommandId(nullptr).has_value()); }, "false"},
        {"GetTextBrowserNames", [&] { return std::to_string(k.GetTextBrowserNames(true).size()); }, "0"},
        {"GetApplicationClipartRect",
         [&] { return yes(k.GetApplicationClipartRect(L"k", 11000, rect)) + std::to_string(rect.left); },
         "false1"},
        {"IsClipartId", [&] { return yes(k.IsClipartId(11000)); }, "false"},
        {"ShowMessageBar", [&] { return some(k.ShowMessageBar(0, L"t", L"x", 1)); }, "null"},
        {"GetMessageBarId", [&] { return std::to_string(k.GetMessageBarId(nullptr)); }, "0"},
        {"GetActiveBackstageTab", [&] { return std::to_string(k.GetActiveBackstageTab(nullptr)); }, "-1"},
        {"ShowRibbonBackstagePrintPage",
         [&] { return yes(k.ShowRibbonBackstagePrintPage(nullptr, nullptr)); }, "false"},
        {"NewMainFrame", [&] { return some(k.NewMainFrame()); }, "null"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.ask(), row.expected);
    }
    // Requests without a shell change nothing and do no harm.
    k.CloseMessageBar(1);
    k.ShowCustomizeDialog(1, nullptr, false, nullptr);
    k.SetApplicationClipartVisible(L"k", 11000, true);
    k.ReportCriticalError(L"text");
}

} // namespace
