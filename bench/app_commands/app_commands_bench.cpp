// A thousand commands an add-on registers while it makes its tools, each with an SVG icon, over
// three main frames: the callback object's registration and icon setting, beside the least the
// work needs (each icon read once and set straight into every image manager). Starts up as
// DravikCad does, on the null display, in a sandbox of its own. Target: at most 3 times the
// reference.
#include "app/DravikApp.h"
#include "app/ServerAppProxy.h"
#include "frame/MainFrame.h"

#include "DravikKernel/ApplicationCommand.h"
#include "DravikKernel/UIModuleProxy.h"
#include "DravikKernel/test/hooks.h"
#include "XTToolkitPro.h"
#include "pal/sandbox.h"

#include "../common/ApplicationBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCommands = 1000;
constexpr int kFrames = 3;
constexpr int kRuns = 3;

// Each command's own picture, so that no icon is shared.
std::string iconOf(int i) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\"><rect x=\"" +
           std::to_string(i % 8) + "\" y=\"2\" width=\"8\" height=\"12\" fill=\"#" +
           std::to_string(100000 + i) + "\"/></svg>";
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class AppCommandsBench : public DravikApp {
public:
    BOOL InitInstance() override {
        if (!DravikApp::InitInstance())
            return fail("the start-up failed");
        while (static_cast<int>(GetMainFrames().size()) < kFrames) {
            auto* frame = new CMainFrame;
            if (!frame->Create(nullptr, L"frame"))
                return fail("a main frame could not be made");
            UIModuleProxy::Instance().AddMainFrame(frame);
        }
        std::vector<std::string> icons;
        for (int i = 0; i < kCommands; ++i)
            icons.push_back(iconOf(i));
        DravikServerAppProxy& kernel = *DravikServerAppProxy::Instance();

        double registered = 1e300, straight = 1e300;
        for (int run = 0; run < kRuns; ++run) {
            dvkernel::test::setCreateToolsMode(true);
            auto start = Clock::now();
            for (int i = 0; i < kCommands; ++i) {
                const UINT id = kernel.RegisterAppCommand(std::make_unique<CDVAppCommand>(L"Bench", i, false),
                                                          0, nullptr, nullptr, nullptr);
                kernel.SetCommandIcon(id, icons[i].data(), icons[i].size());
            }
            registered = std::min(registered, ms(Clock::now() - start));
            dvkernel::test::setCreateToolsMode(false);

            std::vector<CXTPImageManager*> managers{XTPImageManager()};
            for (CMainFrame* frame : GetMainFrames())
                managers.push_back(frame->GetCommandBars()->GetImageManager());
            start = Clock::now();
            for (int i = 0; i < kCommands; ++i) {
                const auto svg =
                    CXTPImageManagerVectorImageHandle::CreateSvgHandle(icons[i].data(), icons[i].size());
                for (CXTPImageManager* images : managers)
                    images->SetVectorIcon(svg, 40000 + i);
            }
            straight = std::min(straight, ms(Clock::now() - start));
        }
        const bool all = GetApplicationCommandCount() >= static_cast<size_t>(kCommands) &&
                         XTPImageManager()->IsVectorIcon(17000 + kCommands - 1);
        std::printf("%d commands with SVG icons over %d main frames (best of %d)\n", kCommands, kFrames,
                    kRuns);
        std::printf("registered through the callback object: %9.3f ms\n", registered);
        std::printf("icons set straight into the managers:   %9.3f ms\n", straight);
        std::printf("ratio: %.2f (target: at most 3)\n", registered / straight);
        m_ok = all;
        if (!all)
            std::fprintf(stderr, "not every command got its icon\n");
        return FALSE;
    }
    bool ok() const { return m_ok; }

private:
    BOOL fail(const char* why) {
        std::fprintf(stderr, "%s\n", why);
        return FALSE;
    }
    bool m_ok = false;
};

std::unique_ptr<AppCommandsBench> gApp;

} // namespace

int main(int argc, char** argv) {
    return dvbench::runApplicationBench(argc, argv, "app-commands", "AppCommandsBench", gApp);
}
