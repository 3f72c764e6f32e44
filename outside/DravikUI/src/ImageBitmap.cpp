#include "DravikUI/ImageBitmap.h"

namespace Dravik {

HBITMAP CreateImageBitmap(const std::wstring& path, COLORREF background) {
    auto picture = static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (picture == nullptr)
        return nullptr;
    BITMAP info{};
    ::GetObjectW(picture, sizeof(info), &info);
    HDC screen = ::GetDC(nullptr);
    HDC source = ::CreateCompatibleDC(screen);
    HDC target = ::CreateCompatibleDC(screen);
    HBITMAP result = ::CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight);
    if (result != nullptr) {
        HGDIOBJ oldSource = ::SelectObject(source, picture);
        HGDIOBJ oldTarget = ::SelectObject(target, result);
        HBRUSH fill = ::CreateSolidBrush(background);
        RECT all{0, 0, info.bmWidth, info.bmHeight};
        ::FillRect(target, &all, fill);
        ::DeleteObject(fill);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(target, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth, info.bmHeight,
                     blend);
        ::SelectObject(source, oldSource);
        ::SelectObject(target, oldTarget);
    }
    ::DeleteDC(source);
    ::DeleteDC(target);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(picture);
    return result;
}

} // namespace Dravik
