#include "pal/test/snapshot.h"

#include "pal/sandbox.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace pal::test {

pal::gdi::Surface snapshot(HWND hwnd, bool clientOnly) {
    RECT r{};
    if (!(clientOnly ? GetClientRect(hwnd, &r) : GetWindowRect(hwnd, &r)))
        return {};
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap =
        CreateCompatibleBitmap(dc, std::max<LONG>(1, r.right - r.left), std::max<LONG>(1, r.bottom - r.top));
    HGDIOBJ old = SelectObject(dc, bitmap);
    pal::gdi::Surface out;
    if (PrintWindow(hwnd, dc, clientOnly ? PW_CLIENTONLY : 0))
        out = pal::gdi::surfaceOf(bitmap);
    SelectObject(dc, old);
    DeleteObject(bitmap); // the surface lives on in `out`
    DeleteDC(dc);
    return out;
}

bool saveSnapshot(HWND hwnd, const std::filesystem::path& png, bool clientOnly) {
    const auto picture = snapshot(hwnd, clientOnly);
    return picture && picture.savePng(png);
}

bool keepSnapshot(const pal::gdi::Surface& picture, const std::string& name) {
    if (!picture)
        return false;
    std::filesystem::path file(name);
    if (file.extension() != ".png")
        file += ".png";
    const bool kept = picture.savePng(pal::sandbox::root() / file);
    // Only an absolute folder is for us: a relative value ("1") asks the window layer itself
    // for pictures of its windows, inside the sandbox.
    if (const char* folder = std::getenv("DV_PAL_SNAPSHOTS"); folder != nullptr) {
        const std::filesystem::path dir(folder);
        std::error_code ec;
        if (dir.is_absolute() && (std::filesystem::create_directories(dir, ec), !ec))
            picture.savePng(dir / file);
    }
    return kept;
}

bool keepSnapshot(HWND hwnd, const std::string& name, bool clientOnly) {
    return keepSnapshot(snapshot(hwnd, clientOnly), name);
}

size_t differingPixels(const pal::gdi::Surface& a, const pal::gdi::Surface& b) {
    if (!a || !b || a.width() != b.width() || a.height() != b.height())
        return size_t(std::max(a.width(), b.width())) * std::max(a.height(), b.height());
    size_t count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace pal::test
