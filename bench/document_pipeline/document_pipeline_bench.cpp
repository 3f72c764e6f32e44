// Opens a drawing of 100,000 elements through the shell's open road (the PDM steps, the file's
// information, the kernel's load) and saves it through the shell's save procedure, and writes
// and reads the same bytes with plain file calls, in one run; prints the times and their ratio
// (target: at most 5).
#include "app/DocumentOpening.h"
#include "app/DocumentPipeline.h"

#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentManager.h"

#include "../common/BigDrawing.h"

#include "pal/path.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace Dravik;

namespace {

constexpr int kElements = 100'000;
constexpr int kRounds = 7;

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The same bytes read whole, then written and made durable as the atomic writer makes them.
bool plainReadWrite(const fs::path& source, const fs::path& target) {
    std::FILE* in = std::fopen(source.c_str(), "rb");
    if (!in)
        return false;
    std::string bytes(fs::file_size(source), '\0');
    bool ok = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
    std::fclose(in);
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (!out)
        return false;
    ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && ok;
    ok = std::fflush(out) == 0 && ok;
    ok = ::fsync(::fileno(out)) == 0 && ok;
    return std::fclose(out) == 0 && ok;
}

bool writeDrawing(const std::wstring& path) {
    std::wstring error;
    return dvbench::bigDrawing(kElements)->DoFileSave(path, &error);
}

} // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "document-pipeline-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const fs::path dir = pattern;
    const fs::path file = dir / "drawing.grb";
    const std::wstring path = pal::path::fromNative(file);
    if (!writeDrawing(path)) {
        std::fprintf(stderr, "cannot write the drawing\n");
        return 1;
    }

    double best = 1e9, bestOpen = 1e9, bestPlain = 1e9;
    bool ok = true;
    for (int round = 0; round < kRounds; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        auto* document = dynamic_cast<CDvw32Doc*>(OpenDocumentByPath(path.c_str(), false));
        const auto opened = std::chrono::steady_clock::now();
        ok = document != nullptr && document->Cont2D()->GetElements().size() == kElements && ok;
        if (document != nullptr) {
            document->SetModifiedFlag(TRUE);
            ok = SaveDocument(document) == 1 && ok;
        }
        const auto saved = std::chrono::steady_clock::now();
        best = std::min(best, seconds(saved - t0));
        bestOpen = std::min(bestOpen, seconds(opened - t0));
        if (document != nullptr)
            DocumentManager::Instance().CloseDocument(document);

        t0 = std::chrono::steady_clock::now();
        ok = plainReadWrite(file, dir / "plain.bin") && ok;
        bestPlain = std::min(bestPlain, seconds(std::chrono::steady_clock::now() - t0));
    }
    const auto size = fs::file_size(file);
    fs::remove_all(dir);

    std::printf("drawing: %d elements, %ju bytes; best of %d rounds\n", kElements,
                static_cast<uintmax_t>(size), kRounds);
    std::printf("open road + SaveDocument:            %8.3f ms\n", best * 1e3);
    std::printf("  of which the open road:            %8.3f ms (for information)\n", bestOpen * 1e3);
    std::printf("plain read + write + flush to disk:  %8.3f ms\n", bestPlain * 1e3);
    std::printf("ratio: %.2f (target: at most 5)\n", best / bestPlain);
    if (!ok) {
        std::fprintf(stderr, "an open, a save or a plain call failed\n");
        return 1;
    }
    return 0;
}
