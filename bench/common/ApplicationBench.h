// Runs a bench that is an application object of its own: in a fresh sandbox on the null display,
// through the program's message loop, with nobody to answer questions; the sandbox is removed
// afterwards. The bench's `ok()` says whether its own checks held.
#pragma once

#include "pal/sandbox.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace dvbench {

template <class App>
int runApplicationBench(int argc, char** argv, const char* tag, const char* programName,
                        std::unique_ptr<App>& app) {
    std::string pattern = std::string("/tmp/dvbench-") + tag + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror(tag);
        return 1;
    }
    ::setenv("DV_PAL_ROOT", pattern.c_str(), 1);
    ::setenv("DV_PAL_DISPLAY", "null", 1);
    ::unsetenv("DV_PAL_SNAPSHOTS");
    if (!pal::sandbox::prepare(programName))
        return 1;
    app = std::make_unique<App>();
    app->SetUnattendedQuery([] { return false; });
    pal::mfc::winMain(argc, argv);
    const bool ok = app->ok();
    app.reset();
    std::error_code ec;
    std::filesystem::remove_all(pattern, ec);
    return ok ? 0 : 1;
}

} // namespace dvbench
