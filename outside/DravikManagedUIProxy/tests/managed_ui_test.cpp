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

} // namespace
