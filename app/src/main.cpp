// DravikCad: the application object's life, from the class library's entry point. The one
// place of the program that knows it runs on Linux: the argument vector handed to the class
// library, and the log's file name shown as a native path.
#include "app/DravikApp.h"

#include "DVDiagnostics/DVLog.h"
#include "pal/path.h"
#include "pal/sandbox.h"

#include <cstdio>

DravikApp theApp;

int main(int argc, char** argv) {
    if (!pal::sandbox::prepare("DravikCad"))
        return 1;
    theApp.SetCloseWhenUnattended(true);
    const int code = pal::mfc::winMain(argc, argv);
    if (theApp.IsUnattended()) {
        const auto snapshots = pal::sandbox::root() / "snapshots";
        std::fprintf(stderr, "DravikCad: nobody is at a display; pictures of its main windows are in %s\n",
                     snapshots.string().c_str());
    }
    if (DVLog_FileExists())
        std::fprintf(stderr, "DravikCad: the log of this run is %s\n",
                     pal::path::toNative(DVLog_GetFileName()).string().c_str());
    return code;
}
