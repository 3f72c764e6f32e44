// Saves (as the shell saves: the preview made, the file written through the atomic writer) and
// opens a drawing of 100,000 elements, and writes and reads the same bytes with plain file
// calls, in one run; prints the times and their ratio (target: at most 5).
#include "DravikKernel/Document.h"
#include "DravikKernel/DocumentFile.h"
#include "DravikKernel/DocumentImage.h"

#include "../common/BigDrawing.h"

#include "pal/text.h"

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
constexpr int kRounds = 9;

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The same bytes written as the atomic writer makes them durable (flushed to the disk), then
// read back whole.
bool plainWriteRead(const fs::path& file, const std::string& bytes, bool flush) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    ok = std::fflush(out) == 0 && ok;
    if (flush)
        ok = ::fsync(::fileno(out)) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in)
        return false;
    std::string back(bytes.size(), '\0');
    ok = std::fread(back.data(), 1, back.size(), in) == back.size() && ok;
    std::fclose(in);
    return ok && back == bytes;
}

} // namespace

int main() {
    std::string pattern = (fs::temp_directory_path() / "kernel-documents-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const fs::path dir = pattern;
    const fs::path file = dir / "drawing.grb";
    const std::wstring path = pal::text::fromUtf8(file.string());
    auto doc = dvbench::bigDrawing(kElements);
    const std::string bytes = grb::Encode(*doc);

    double best = 1e9, bestPlain = 1e9, bestUnflushed = 1e9, bestCoding = 1e9, bestPreview = 1e9;
    bool ok = true;
    for (int round = 0; round < kRounds; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        std::wstring error;
        ok = doc->DoFileSave(path, &error) && ok; // the preview is made as part of it
        auto opened = grb::LoadFile(path, &error);
        ok = opened && opened->Cont2D()->GetElements().size() == kElements && ok;
        best = std::min(best, seconds(std::chrono::steady_clock::now() - t0));

        t0 = std::chrono::steady_clock::now();
        ok = plainWriteRead(dir / "plain.bin", bytes, true) && ok;
        bestPlain = std::min(bestPlain, seconds(std::chrono::steady_clock::now() - t0));

        t0 = std::chrono::steady_clock::now();
        ok = plainWriteRead(dir / "unflushed.bin", bytes, false) && ok;
        bestUnflushed = std::min(bestUnflushed, seconds(std::chrono::steady_clock::now() - t0));

        // The parts of the first figure, for information.
        t0 = std::chrono::steady_clock::now();
        CDvw32Doc decoded;
        ok = grb::Decode(grb::Encode(*doc), decoded, nullptr) && ok;
        bestCoding = std::min(bestCoding, seconds(std::chrono::steady_clock::now() - t0));
        t0 = std::chrono::steady_clock::now();
        ok = !MakePreviewPng(*doc).empty() && ok;
        bestPreview = std::min(bestPreview, seconds(std::chrono::steady_clock::now() - t0));
    }
    fs::remove_all(dir);

    std::printf("drawing: %d elements, %zu bytes; best of %d rounds\n", kElements, bytes.size(), kRounds);
    std::printf("save + open:                        %8.3f ms\n", best * 1e3);
    std::printf("plain write + flush to disk + read: %8.3f ms\n", bestPlain * 1e3);
    std::printf("plain write + read, not flushed:    %8.3f ms (for information)\n", bestUnflushed * 1e3);
    std::printf("  of which encoding and decoding:   %8.3f ms (for information)\n", bestCoding * 1e3);
    std::printf("  of which the preview:             %8.3f ms (for information)\n", bestPreview * 1e3);
    std::printf("ratio: %.2f (target: at most 5)\n", best / bestPlain);
    if (!ok) {
        std::fprintf(stderr, "a save, an open or a plain call failed\n");
        return 1;
    }
    return 0;
}
