#include "ribbon/ApplicationMode.h"

#include "DravikKernel/EditionModuleProxies.h"
#include "DravikKernel/test/hooks.h"

#include "pal/test/sandbox_test.h"

#include <gtest/gtest.h>

namespace {

class ApplicationMode : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        SetFixedEditionCode(0);
    }
    void TearDown() override {
        SetFixedEditionCode(0);
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
};

TEST_F(ApplicationMode, FollowsTheFixedEditionElseTheLoadedModules) {
    struct Case {
        std::uint32_t fixed;
        int kind3D; // 0: no 3D module
        bool edit;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0, 0, false, 0},     {0, 0, true, 2},     {0, 1, true, 4},      {0, 1, false, 4},
        {0, 2, true, 8},      {0, 3, true, 2},     {16, 0, true, 16},    {32, 2, true, 32},
        {128, 0, false, 128}, {256, 1, true, 256}, {512, 2, false, 512},
    };
    for (const auto& c : cases) {
        dvkernel::test::reset();
        SetFixedEditionCode(c.fixed);
        if (c.kind3D)
            CDVCom_Is3D::Attach(c.kind3D);
        if (c.edit)
            EditModuleProxy::Attach();
        EXPECT_EQ(GetApplicationModeCode(), c.expected)
            << "fixed " << c.fixed << " kind " << c.kind3D << " edit " << c.edit;
    }
}

} // namespace
