#include "StampProgram.h"

#include "Forms.h"

#include "pal/sandbox.h"
#include "pal/text.h"

namespace stamps {
namespace {

class StampApp : public CWinApp {
public:
    explicit StampApp(const ProgramLayout& layout) : layout_(layout) {}

    BOOL InitInstance() override {
        std::string failure;
        try {
            const auto server = connectToDravikCad();
            MainForm form(layout_, *server);
            form.run();
            failure = form.failure();
        } catch (const ServerError& e) {
            failure = e.what();
        }
        if (!failure.empty()) {
            ::MessageBoxW(nullptr, pal::text::fromUtf8(failure).c_str(), layout_.name, MB_OK | MB_ICONERROR);
            exitCode_ = 1;
        }
        return FALSE;
    }
    int ExitInstance() override {
        CWinApp::ExitInstance();
        return exitCode_;
    }

private:
    const ProgramLayout& layout_;
    int exitCode_ = 0;
};

} // namespace

int runProgram(const ProgramLayout& layout, int argc, char** argv) {
    if (!pal::sandbox::prepare(pal::text::toUtf8(layout.name).c_str()))
        return 1;
    StampApp app(layout);
    return pal::mfc::winMain(argc, argv);
}

} // namespace stamps
