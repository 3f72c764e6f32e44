// Start-up on the bundled configuration and the null display, with the bundled default state.
#pragma once

#include "startup_fixture.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/path.h"
#include "pal/test/pump.h"

#include <filesystem>
#include <string>
#include <vector>

namespace dvapp::test {

class MainInitialisation : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        pal::test::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}, 96}});
        bundledConfiguration();
    }
    // The bundled default state, beside the program as the product INI names it; `more` adds
    // lines to its section.
    void bundledConfiguration(const std::string& more = "") {
        writeProductIni("[SETTINGS]\nConfig=3D\nLanguage=Eng\nDefaultStateFile=DefaultState.xml\n" + more);
    }
    void TearDown() override {
        stop();
        pal::test::pump();
        StartupTest::TearDown();
    }

    CMainFrame* onlyFrame() {
        const std::vector<CMainFrame*> frames = CDvw32App::GetMainFrames();
        return frames.size() == 1 ? frames.front() : nullptr;
    }

    static size_t initializedLines() {
        size_t count = 0;
        for (const std::string& line : dvlog::test::capturedAt(DVLogInfo))
            count += line.rfind("Initialized in ", 0) == 0;
        return count;
    }

    std::wstring copySample(const std::string& name) {
        const auto path = root() / name;
        std::filesystem::copy_file(binDir() / "Samples" / "sample-a3.grb", path);
        return pal::path::fromNative(path);
    }
};

} // namespace dvapp::test
