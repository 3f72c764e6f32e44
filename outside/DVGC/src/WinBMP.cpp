#include "DVGC/WinBMP.h"

#include "win/gdi/dc.h"
#include "win/gdi/objects.h"

#include <utility>
#include <vector>

namespace {

// The bitmap's pixels as top-down 32-bit rows; empty when it cannot be read.
std::vector<BYTE> pixelsOf(HBITMAP bitmap, SIZE size) {
    if (bitmap == nullptr || size.cx <= 0 || size.cy <= 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> bits(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy) * 4);
    HDC dc = ::CreateCompatibleDC(nullptr);
    const int rows =
        ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(size.cy), bits.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(dc);
    return rows == size.cy ? bits : std::vector<BYTE>{};
}

HBITMAP copyOf(HBITMAP bitmap, SIZE size) {
    const std::vector<BYTE> bits = pixelsOf(bitmap, size);
    if (bits.empty())
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* target = nullptr;
    HBITMAP copy = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &target, nullptr, 0);
    if (copy != nullptr && target != nullptr)
        std::copy(bits.begin(), bits.end(), static_cast<BYTE*>(target));
    return copy;
}

} // namespace

CWinBMP::~CWinBMP() {
    Release();
}

CWinBMP::CWinBMP(const CWinBMP& other) : bitmap_(copyOf(other.bitmap_, other.GetSize())) {}

CWinBMP& CWinBMP::operator=(const CWinBMP& other) {
    if (this != &other)
        Attach(copyOf(other.bitmap_, other.GetSize()));
    return *this;
}

CWinBMP::CWinBMP(CWinBMP&& other) noexcept : bitmap_(std::exchange(other.bitmap_, nullptr)) {}

CWinBMP& CWinBMP::operator=(CWinBMP&& other) noexcept {
    if (this != &other)
        Attach(std::exchange(other.bitmap_, nullptr));
    return *this;
}

void CWinBMP::Attach(HBITMAP bitmap) {
    if (bitmap == bitmap_)
        return;
    Release();
    bitmap_ = bitmap;
}

void CWinBMP::Release() {
    if (bitmap_ != nullptr)
        ::DeleteObject(bitmap_);
    bitmap_ = nullptr;
}

SIZE CWinBMP::GetSize() const {
    BITMAP info{};
    if (bitmap_ == nullptr || ::GetObjectW(bitmap_, sizeof info, &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

bool CWinBMP::operator==(const CWinBMP& other) const {
    if (bitmap_ == other.bitmap_)
        return true;
    if (bitmap_ == nullptr || other.bitmap_ == nullptr)
        return false;
    const SIZE a = GetSize(), b = other.GetSize();
    return a.cx == b.cx && a.cy == b.cy && pixelsOf(bitmap_, a) == pixelsOf(other.bitmap_, b);
}
