// Byte streams: what the maker's libraries read records from and write them to, whatever lies
// behind (a file, memory).
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <string>
#include <string_view>

DV_EXPORTS_BEGIN

namespace dvio {

class IReadStream {
public:
    virtual ~IReadStream() = default;
    // Up to `size` bytes into `buffer`; the count read, short only at the end of the stream.
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
};

class IWriteStream {
public:
    virtual ~IWriteStream() = default;
    // The count written, short only when the stream failed.
    virtual std::size_t Write(const void* buffer, std::size_t size) = 0;
};

// Reads a block of bytes it does not own.
class MemoryReadStream : public IReadStream {
public:
    explicit MemoryReadStream(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Read(void* buffer, std::size_t size) override;
    std::size_t Left() const { return bytes_.size() - pos_; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Collects what is written.
class MemoryWriteStream : public IWriteStream {
public:
    std::size_t Write(const void* buffer, std::size_t size) override;
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

} // namespace dvio

DV_EXPORTS_END
