// The bundled sample add-on: it shows the least an add-on does, registering one command while
// it runs and taking it back when it stops. Built again as test add-ons: one that refuses the
// program's exit (DV_SAMPLE_REFUSES_EXIT), one that opens files of a format of its own
// (DV_SAMPLE_OPENS_FILES).
#include "DravikKernel/GlobalContainer.h"
#ifdef DV_SAMPLE_OPENS_FILES
#include "DravikKernel/DocumentManager.h"

#include <string>
#endif

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

#ifdef DV_SAMPLE_OPENS_FILES
// Its own format, ".sample": a drawing titled by the file's name.
DV_ENTRY_POINT BOOL DravikApplicationOpenFile(const wchar_t* path) {
    const std::wstring file = path;
    const std::wstring extension = L".sample";
    if (file.size() <= extension.size() ||
        file.compare(file.size() - extension.size(), extension.size(), extension) != 0)
        return FALSE;
    return Dravik::DocumentManager::Instance().CreateDocument(Dravik::DocumentKind::Drawing, file) != nullptr;
}
#endif
