#include "DravikUI/ShellDDERespondWindow.h"
#include "DravikUI/XML.h"
#include "DravikUI/test/hooks.h"

#include "DVDiagnostics/test/hooks.h"

#include <gtest/gtest.h>

namespace {

TEST(DravikUI, RecordsWhatStartUpAsks) {
    dvtrace::test::clear();
    Dravik::UI::XML::SetProduct(3);
    EXPECT_EQ(ShellDDERespondWindow::GetShellCommand(), L"");
    dvui::test::setPendingShellCommand(L"[open(\"C:\\a.dvd\")]");
    EXPECT_EQ(ShellDDERespondWindow::GetShellCommand(), L"[open(\"C:\\a.dvd\")]");
    EXPECT_EQ(ShellDDERespondWindow::GetShellCommand(), L"") << "a command is taken once";
    EXPECT_EQ(
        dvtrace::test::callsOf("DravikUI"),
        (std::vector<std::string>{"SetProduct(3)", "GetShellCommand() -> ",
                                  "GetShellCommand() -> [open(\"C:\\a.dvd\")]", "GetShellCommand() -> "}));
}

} // namespace
