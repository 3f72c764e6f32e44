// The sandbox the main-frame tests run in: the kernel stand-in fresh, one 1920 by 1080 monitor,
// and the frames' application, made per test; frames a test leaves open are destroyed before
// the application goes.
#pragma once

#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "afxwin.h"
#include "pal/test/pump.h"
#include "pal/test/sandbox_test.h"
#include "pal/test/user_hooks.h"

#include <memory>

namespace frame_test {

template <class Application> class FrameSandbox : public pal::test::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        dvkernel::test::reset();
        pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
        app = std::make_unique<Application>();
    }
    void TearDown() override {
        destroyFrames();
        app.reset();
        pal::test::resetMonitors();
        dvkernel::test::reset();
        SandboxTest::TearDown();
    }
    static void destroyFrames() {
        for (CFrameWnd* frame : UIModuleProxy::Instance().GetMainFrames())
            if (::IsWindow(frame->m_hWnd))
                frame->DestroyWindow();
        pal::test::pump();
    }

    std::unique_ptr<Application> app;
};

} // namespace frame_test
