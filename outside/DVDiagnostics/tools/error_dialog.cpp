// DVErrorDialog: the question after a fault, asked from a process of its own, so that no lock the
// faulting program may still hold stands between the person and the box. Its arguments are the
// caption, the text and the box's flags; its exit code is the button the person pressed.
#include "pal/sandbox.h"
#include "pal/text.h"
#include "win/controls.h"

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4)
        return 0;
    if (!pal::sandbox::prepare("DVErrorDialog"))
        return 0;
    const std::wstring caption = pal::text::fromUtf8(argv[1]);
    const std::wstring text = pal::text::fromUtf8(argv[2]);
    const auto flags = static_cast<UINT>(std::strtoul(argv[3], nullptr, 10));
    return MessageBoxW(nullptr, text.c_str(), caption.c_str(), flags | MB_SETFOREGROUND | MB_TOPMOST);
}
