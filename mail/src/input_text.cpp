#include "input_text.h"

#include "pal/text.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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
    if (::fcntl(STDIN_FILENO, F_GETFD) < 0)
        return [](char*, std::size_t) { return -1L; };
    return [](char* buffer, std::size_t size) {
        for (;;) {
            const ssize_t got = ::read(STDIN_FILENO, buffer, size);
            if (got >= 0 || errno != EINTR)
                return static_cast<long>(got);
        }
    };
}

} // namespace dvmail
