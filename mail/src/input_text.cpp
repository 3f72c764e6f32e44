#include "input_text.h"

#include "pal/text.h"
#include "win/system.h"

namespace dvmail {

std::wstring readInputText(const ReadChunk& read) {
    std::string bytes;
    char chunk[kInputChunkBytes];
    for (;;) {
        const long got = read(chunk, sizeof chunk);
        if (got <= 0)
            break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    // Decoding the whole text at once also keeps a surrogate pair that straddles two chunks.
    if (bytes.size() % 2 != 0)
        bytes.pop_back();
    return pal::text::fromUtf16leBytes(bytes);
}

ReadChunk standardInput() {
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (!in || in == INVALID_HANDLE_VALUE)
        return [](char*, std::size_t) { return -1L; };
    return [in](char* buffer, std::size_t size) {
        DWORD got = 0;
        if (!ReadFile(in, buffer, static_cast<DWORD>(size), &got, nullptr))
            return -1L; // a pipe whose writer has gone ends this way too
        return static_cast<long>(got);
    };
}

} // namespace dvmail
