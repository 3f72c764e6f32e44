// Converts a 4096 x 4096 picture three ways with PixelBox::CopyPixels, with FreeImage's conversion
// of the same pixels and with a memcpy of the source bytes, and prints MPix/s and the two ratios.
// FreeImage converts with its own line converter into a destination allocated once, as ours does,
// where it has one (24 to 32 bits, 32 bits to grey); 16-bit channels it converts only a bitmap at
// a time, into a new one.
// Targets: at least 1.0x FreeImage; at least 0.50x memcpy for 24 to 32 bits, 0.30x for the others.
#include "dvpimage/pixel_box.h"

#include <FreeImage.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr unsigned kSide = 4096;
constexpr double kMegapixels = double(kSide) * kSide / 1e6;
constexpr int kRuns = 7;

// Best of several runs, in seconds.
double best(const std::function<void()>& work) {
    double fastest = 1e30;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        fastest = std::min(fastest,
                           std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return fastest;
}

FIBITMAP* randomBitmap(FREE_IMAGE_TYPE type, int bpp) {
    FIBITMAP* dib = FreeImage_AllocateT(type, kSide, kSide, bpp);
    std::mt19937 random(1);
    const unsigned rowBytes = FreeImage_GetLine(dib);
    for (unsigned y = 0; y < kSide; ++y) {
        BYTE* line = FreeImage_GetScanLine(dib, static_cast<int>(y));
        for (unsigned i = 0; i < rowBytes; ++i)
            line[i] = static_cast<BYTE>(random());
    }
    return dib;
}

using LineConverter = void(DLL_CALLCONV*)(BYTE* target, BYTE* source, int widthInPixels);

struct Case {
    const char* name;
    FREE_IMAGE_TYPE type;
    int bpp;
    Image::PixelFormat from, to;
    LineConverter line;            // FreeImage's converter of one line, when it has one
    FIBITMAP* (*whole)(FIBITMAP*); // otherwise its converter of a bitmap
    double memcpyTarget;           // the least share of memcpy's speed
};

FIBITMAP* to24(FIBITMAP* dib) {
    return FreeImage_ConvertTo24Bits(dib);
}

} // namespace

int main() {
    FreeImage_Initialise();
    const Case cases[] = {
        {"24-bit BGR -> 32-bit BGRA", FIT_BITMAP, 24, Image::PF_R8G8B8, Image::PF_A8R8G8B8,
         &FreeImage_ConvertLine24To32, nullptr, 0.50},
        {"32-bit RGBA -> 8-bit grey", FIT_BITMAP, 32, Image::PF_A8R8G8B8, Image::PF_L8,
         &FreeImage_ConvertLine32To8, nullptr, 0.30},
        {"16-bit -> 8-bit per channel (RGB)", FIT_RGB16, 48, Image::PF_SHORT_RGB, Image::PF_R8G8B8, nullptr,
         &to24, 0.30},
    };
    std::printf("%ux%u picture, best of %d runs; MPix/s (higher is better)\n", kSide, kSide, kRuns);
    std::printf("%-36s %12s %12s %12s %10s %10s\n", "conversion", "DVPImage", "FreeImage", "memcpy", "vs FI",
                "vs memcpy");
    bool met = true;
    for (const Case& c : cases) {
        FIBITMAP* source = randomBitmap(c.type, c.bpp);
        const std::size_t sourceBytes = std::size_t{FreeImage_GetLine(source)} * kSide;
        std::vector<std::uint8_t> pixels(sourceBytes), copy(sourceBytes);
        for (unsigned y = 0; y < kSide; ++y)
            std::memcpy(&pixels[std::size_t{y} * FreeImage_GetLine(source)],
                        FreeImage_GetScanLine(source, int(y)), FreeImage_GetLine(source));
        std::vector<std::uint8_t> converted(std::size_t{Image::Pixels::GetNumElemBytes(c.to)} * kSide *
                                            kSide);

        const double ours = best([&] {
            Image::PixelBox::CopyPixels(Image::PixelBox(kSide, kSide, 1, c.from, pixels.data()),
                                        Image::PixelBox(kSide, kSide, 1, c.to, converted.data()));
        });
        // FreeImage's lines are 4-byte aligned; the destination is made once, outside the timing.
        const unsigned targetLine = (kSide * Image::Pixels::GetNumElemBytes(c.to) + 3) & ~3u;
        std::vector<BYTE> target(std::size_t{targetLine} * kSide);
        const double theirs = best([&] {
            if (c.line != nullptr) {
                for (unsigned y = 0; y < kSide; ++y)
                    c.line(&target[std::size_t{y} * targetLine], FreeImage_GetScanLine(source, int(y)),
                           kSide);
            } else {
                FreeImage_Unload(c.whole(source));
            }
        });
        const double plain = best([&] { std::memcpy(copy.data(), pixels.data(), sourceBytes); });
        FreeImage_Unload(source);

        const double vsFreeImage = theirs / ours, vsMemcpy = plain / ours;
        met = met && vsFreeImage >= 1.0 && vsMemcpy >= c.memcpyTarget;
        std::printf("%-36s %12.0f %12.0f %12.0f %9.2fx %9.2fx\n", c.name, kMegapixels / ours,
                    kMegapixels / theirs, kMegapixels / plain, vsFreeImage, vsMemcpy);
    }
    std::printf(
        "targets (>= 1.0x FreeImage; >= 0.50x memcpy for 24 -> 32 bits, >= 0.30x for the others): %s\n",
        met ? "met" : "NOT met");
    FreeImage_DeInitialise();
    return 0;
}
