#include "DravikManagedUIProxy/DravikManagedUIProxy.h"

#include "DVDiagnostics/test/hooks.h"

#include <gtest/gtest.h>

namespace {

TEST(DravikManagedUIProxy, RecordsTheResourceSetUp) {
    dvtrace::test::clear();
    DravikManagedUIProxy::InitManagedResourcesWraps();
    EXPECT_EQ(dvtrace::test::callsOf("DravikManagedUIProxy"),
              std::vector<std::string>{"InitManagedResourcesWraps()"});
}

TEST(DravikManagedUIProxy, TheDispatcherEndsOnceAndTheThemeIsKept) {
    dvtrace::test::clear();
    using DravikManagedUIProxy::WpfAccessor;
    WpfAccessor::EnableDarkTheme(true);
    EXPECT_TRUE(WpfAccessor::IsDarkThemeEnabled());
    DravikManagedUIProxy::StringResourceAccessor::UpdateResourcesCulture();
    WpfAccessor::ShutdownDispatcher();
    WpfAccessor::ShutdownDispatcher();
    EXPECT_TRUE(WpfAccessor::IsDispatcherShutDown());
    EXPECT_EQ(dvtrace::test::callsOf("DravikManagedUIProxy"),
              (std::vector<std::string>{"EnableDarkTheme(true)", "UpdateResourcesCulture()",
                                        "ShutdownDispatcher()"}));
}

} // namespace
