#include "Compression/Streams.h"

#include <algorithm>
#include <cstring>

namespace dvio {

std::size_t MemoryReadStream::Read(void* buffer, std::size_t size) {
    const std::size_t n = std::min(size, Left());
    if (n > 0)
        std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

std::size_t MemoryWriteStream::Write(const void* buffer, std::size_t size) {
    bytes_.append(static_cast<const char*>(buffer), size);
    return size;
}

} // namespace dvio
