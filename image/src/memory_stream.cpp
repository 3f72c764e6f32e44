#include "dvpimage/stream.h"

#include "format_table.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace Image {
namespace {

constexpr std::uint64_t kChunk = 1048576;

} // namespace

IStream::~IStream() = default;

MemoryStream::MemoryStream(std::uint64_t size) {
    if (size > 0 && size <= SIZE_MAX) {
        buffer_ = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(size)));
        if (buffer_ != nullptr)
            size_ = capacity_ = size;
    }
}

// Reads in chunks until the source has nothing more: a single read would cut a long source short.
// A source longer than any picture the codecs take is not read to its end: an endless one would
// never end.
MemoryStream::MemoryStream(IStream& source) {
    constexpr std::uint64_t limit = detail::kMaxEncodedBytes;
    while (size_ < limit) {
        const std::uint64_t want = std::min(kChunk, limit - size_);
        if (capacity_ - size_ < want) {
            const std::uint64_t wanted = std::min(std::max(capacity_ * 2, capacity_ + kChunk), limit);
            void* grown =
                wanted <= SIZE_MAX ? std::realloc(buffer_, static_cast<std::size_t>(wanted)) : nullptr;
            if (grown == nullptr) {
                drop();
                return;
            }
            buffer_ = static_cast<unsigned char*>(grown);
            capacity_ = wanted;
        }
        const std::uint64_t got = source.Read(buffer_ + size_, want);
        if (got == 0)
            return;
        size_ += std::min(got, want);
    }
    if (!source.IsEof())
        drop(); // too long to decode; a picture cut short would decode as a damaged one
}

// Half a file would decode as a damaged picture; none decodes as a failure.
void MemoryStream::drop() {
    std::free(buffer_);
    buffer_ = nullptr;
    size_ = capacity_ = 0;
}

MemoryStream::~MemoryStream() {
    std::free(buffer_);
}

std::uint64_t MemoryStream::Read(void* buffer, std::uint64_t count) {
    const std::uint64_t n = std::min(count, size_ - position_);
    if (n > 0)
        std::memcpy(buffer, buffer_ + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

void MemoryStream::Write(const void* data, std::uint64_t count) {
    if (count == 0)
        return;
    if (size_ - position_ < count) {
        if (count > UINT64_MAX / 2 - size_)
            return;
        const std::uint64_t wanted = size_ + count + (size_ + count) / 2;
        void* grown = wanted <= SIZE_MAX ? std::realloc(buffer_, static_cast<std::size_t>(wanted)) : nullptr;
        if (grown == nullptr)
            return;
        buffer_ = static_cast<unsigned char*>(grown);
        capacity_ = wanted;
    }
    if (capacity_ - position_ < count)
        return;
    std::memcpy(buffer_ + position_, data, static_cast<std::size_t>(count));
    position_ += count;
    size_ = std::max(size_, position_);
}

void MemoryStream::Skip(std::int32_t offset) {
    if (offset >= 0) {
        position_ += std::min<std::uint64_t>(static_cast<std::uint64_t>(offset), size_ - position_);
    } else {
        const std::uint64_t back = static_cast<std::uint64_t>(-static_cast<std::int64_t>(offset));
        position_ = back > position_ ? 0 : position_ - back;
    }
}

bool MemoryStream::IsEof() const {
    return position_ >= size_;
}

} // namespace Image
