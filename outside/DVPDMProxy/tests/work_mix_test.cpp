#include "DVPDMProxy/WorkMix.h"
#include "DVPDMProxy/test/hooks.h"

#include "DVDiagnostics/test/hooks.h"

#include <gtest/gtest.h>

namespace {

TEST(WorkMix, IsOneObjectDisabledUntilATestEnablesIt) {
    dvlog::test::clearCapture();
    EXPECT_EQ(&DVPDMWorkMix::Instance(), &DVPDMWorkMix::Instance());
    EXPECT_FALSE(DVPDMWorkMix::Instance().IsEnabled());
    dvpdm::test::setWorkMixEnabled(true);
    EXPECT_TRUE(DVPDMWorkMix::Instance().IsEnabled());
    dvpdm::test::setWorkMixEnabled(false);
    EXPECT_FALSE(DVPDMWorkMix::Instance().IsEnabled());
    // The stand-in is marked once, however often it is asked.
    const auto lines = dvlog::test::capturedAt(5);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Not built yet: the PDM system", 0), 0u);
}

TEST(WorkMix, WithoutAPdmSystemNothingCanConnectAndNoProgramIsInstalled) {
    EXPECT_FALSE(DVPDMWorkMix::Instance().CanConnect());
    EXPECT_EQ(DVPDMWorkMix::Instance().OrsaInfo(), L"");
    EXPECT_FALSE(DVPdmApiProxy::Instance().HasInstalledPrograms());
    dvpdm::test::setConnectionName(L"Archive A");
    EXPECT_EQ(DVPDMWorkMix::Instance().OrsaInfo(), L"") << "a name only while connected";
    dvpdm::test::setWorkMixEnabled(true);
    EXPECT_EQ(DVPDMWorkMix::Instance().OrsaInfo(), L"Archive A");
    dvpdm::test::setWorkMixEnabled(false);
    dvpdm::test::setConnectionName(L"");
}

} // namespace
