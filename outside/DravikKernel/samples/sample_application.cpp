// The bundled sample add-on: it shows the least an add-on does, registering one command while
// it runs and taking it back when it stops. Built a second time as a test add-on that refuses
// the program's exit (DV_SAMPLE_REFUSES_EXIT).
#include "DravikKernel/GlobalContainer.h"

#include "pal/visibility.h"
#include "win/types.h"

namespace {

constexpr int kHelloCommand = 64001;

} // namespace

DV_ENTRY_POINT BOOL DravikApplicationStart() {
    GlobalContainer::Instance().RegisterCmd(kHelloCommand, L"SampleApplication.Hello", kHelloCommand, {});
    return TRUE;
}

DV_ENTRY_POINT BOOL DravikApplicationCanExit() {
#ifdef DV_SAMPLE_REFUSES_EXIT
    return FALSE;
#else
    return TRUE;
#endif
}

// The sample has no tool bar; it shows that it was asked by naming its command again.
DV_ENTRY_POINT void DravikApplicationCreateTools() {
    GlobalContainer::Instance().RegisterCmd(kHelloCommand, L"SampleApplication.Hello", kHelloCommand, {});
}

DV_ENTRY_POINT void DravikApplicationStop() {
    GlobalContainer::Instance().UnregisterCmd(kHelloCommand);
}
