// Runs the application object's start-up and shut-down in a sandbox: a product INI and an
// optional command-line INI written for the test, the command line, and the show command the
// program was started with.
#pragma once

#include "app/DravikApp.h"
#include "app/Editions.h"

#include "DVDiagnostics/Module.h"
#include "DVDiagnostics/test/hooks.h"
#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/GlobalContainer.h"
#include "DravikKernel/test/hooks.h"
#include "DravikUI/test/hooks.h"
#include "pal/test/system_hooks.h"
#include "pal/test/user_test.h"
#include "pal/text.h"
#include "ribbon/ApplicationMode.h"
#include "xtp/PaintManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace dvapp::test {

// Counts the "started" events.
class StartedListener : public TypedApplicationEventListener<1030> {
public:
    void OnApplicationEvent(int, ApplicationEventArgs&) override { ++count; }
    int count = 0;
};

class StartupTest : public pal::test::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        resetOutside();
    }
    void TearDown() override {
        stop();
        app.reset();
        Dravik::Module::shutdownAll();
        while (CXTPPaintManager::GetInstanceRefCount() > 0)
            CXTPPaintManager::ReleaseInstance();
        pal::test::useVersionManifest({});
        ::unsetenv("DV_MODULE_INIT_FAIL");
        resetOutside();
        UserTest::TearDown();
    }

    static void resetOutside() {
        dvkernel::test::reset();
        dvtrace::test::clear();
        dvlog::test::clearCapture();
        dvui::test::setPendingShellCommand(L"");
        SetFixedEditionCode(0);
        AfxOleSetUserCtrl(TRUE);
    }

    // The product INI the kernel names.
    std::filesystem::path writeProductIni(const std::string& text) {
        const auto path = writeFile("product/DravikCad.ini", text);
        dvkernel::test::setProductIniFileName(pal::text::fromUtf8(path.string()));
        return path;
    }

    // Makes the application object and runs its start-up; the arguments follow the program name.
    template <class App = DravikApp>
    bool start(std::vector<std::wstring> arguments = {}, int showCommand = SW_SHOWNORMAL) {
        app.reset(); // one application object per program: the old one goes first
        app = std::make_unique<App>();
        arguments.insert(arguments.begin(), L"DravikCad");
        pal::mfc::setArguments(arguments);
        static wchar_t emptyLine[] = L"";
        if (!AfxWinInit(nullptr, nullptr, emptyLine, showCommand))
            return false;
        return app->InitInstance() != FALSE;
    }

    // Shuts the application down (once) and takes the quit message it posts.
    int stop() {
        if (!app)
            return 0;
        const int code = app->ExitInstance();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        return code;
    }

    // A manifest that gives the listed binaries other versions: {"DV3DSE.so", "18.0.20.0"}.
    void giveVersions(const std::vector<std::pair<std::string, std::string>>& versions) {
        std::string text;
        for (const auto& [file, version] : versions)
            text += file + " " + version + "\n";
        pal::test::useVersionManifest(writeFile("versions.txt", text));
    }

    // The message boxes shown, as their texts.
    std::vector<std::string> boxes() const {
        std::vector<std::string> texts;
        for (const auto& entry : journal("prompt"))
            if (entry.get("kind") == "MessageBox")
                texts.push_back(entry.get("text"));
        return texts;
    }

    static bool hasLine(int level, const std::string& text) {
        const auto lines = dvlog::test::capturedAt(level);
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }

    static size_t countCalls(const std::string& library, const std::string& call) {
        const auto calls = dvtrace::test::callsOf(library);
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
    }

    // The edition modules that initialised, in table order.
    static std::vector<int> loadedRows() {
        std::vector<int> rows;
        for (size_t i = 0; i < std::size(kModuleTable); ++i)
            if (countCalls(pal::text::toUtf8(kModuleTable[i].name), "initialize") > 0)
                rows.push_back(static_cast<int>(i) + 1);
        return rows;
    }

    std::unique_ptr<DravikApp> app;
};

} // namespace dvapp::test
