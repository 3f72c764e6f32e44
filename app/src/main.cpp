// DravikCad: the application object's life, from the class library's entry point. The one
// place of the program that knows it runs on Linux: the argument vector handed to the class
// library, and the log's file name shown as a native path.
#include "app/DravikApp.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/path.h"
#include "pal/responder.h"
#include "pal/sandbox.h"

#include <cstdio>
#include <cstdlib>
#include <string>

DravikApp theApp;

int main(int argc, char** argv) {
    if (!pal::sandbox::prepare("DravikCad"))
        return 1;
    // With nobody at a display the run ends by itself, and each main window is kept as a
    // picture in the sandbox as it closes.
    theApp.SetUnattendedQuery([] {
        if (pal::responder::personAnswers())
            return false;
        ::setenv("DV_PAL_SNAPSHOTS", "1", 0);
        return true;
    });
    const int code = pal::mfc::winMain(argc, argv);
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
