// DravikCad: the application object's life, from the class library's entry point. The one
// place of the program that knows it runs on Linux: the argument vector handed to the class
// library, and the log's file name shown as a native path.
#include "app/DravikApp.h"

#include "DVDiagnostics/CrashGuard.h"
#include "DVDiagnostics/DVLog.h"
#include "DVDiagnostics/DVLogOpen.h"
#include "pal/path.h"
#include "pal/responder.h"
#include "pal/sandbox.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

DravikApp theApp;

namespace {

// Once a fault was reported and answered, the program has this long to end in order; whatever
// lock the fault left held cannot keep it on the screen, frozen, after that.
constexpr auto kOrderlyEndAfterFault = std::chrono::seconds(5);

void endSoonAfterFault() {
    std::thread([] {
        std::this_thread::sleep_for(kOrderlyEndAfterFault);
        static const char said[] = "DravikCad: ended after a fault; its report is kept\n";
        [[maybe_unused]] const auto written = ::write(2, said, sizeof said - 1);
        ::_exit(1);
    }).detach();
}

} // namespace

int main(int argc, char** argv) {
    if (!pal::sandbox::prepare("DravikCad"))
        return 1;
    if (std::string why; !DVLog_Open(why)) {
        std::fprintf(stderr, "DravikCad: %s\n", why.c_str());
        return 1;
    }
    dvdiag::SetAfterFault(endSoonAfterFault);
    // With nobody at a display the run ends by itself, and each main window is kept as a
    // picture in the sandbox as it closes.
    theApp.SetUnattendedQuery([] {
        if (pal::responder::personAnswers())
            return false;
        ::setenv("DV_PAL_SNAPSHOTS", "1", 0);
        return true;
    });
    int code = pal::mfc::winMain(argc, argv);
    // A run that met a fault did not end as it should have, whatever its last step answered.
    if (code == 0 && theApp.HasApplicationState(CDvw32App::kStateErrorMark))
        code = 1;
    if (theApp.IsUnattended()) {
        const char* folder = std::getenv("DV_PAL_SNAPSHOTS");
        const auto snapshots =
            pal::sandbox::root() / (folder == nullptr || std::string(folder) == "1" ? "snapshots" : folder);
        std::fprintf(stderr, "DravikCad: nobody is at a display; pictures of its main windows are in %s\n",
                     snapshots.string().c_str());
    }
    if (DVLog_FileExists())
        std::fprintf(stderr, "DravikCad: the log of this run is %s\n",
                     pal::path::toNative(DVLog_GetFileName()).string().c_str());
    return code;
}
