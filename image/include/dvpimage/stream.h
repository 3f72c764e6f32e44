// Byte streams the codecs read from and write to.
#pragma once

#include "pal/visibility.h"

#include <cstdint>

DV_EXPORTS_BEGIN

namespace Image {

class IStream {
public:
    virtual ~IStream();
    virtual std::uint64_t Read(void* buffer, std::uint64_t count) = 0;
    virtual void Write(const void* data, std::uint64_t count) = 0;
    virtual void Skip(std::int32_t offset) = 0;
    virtual bool IsEof() const = 0;
};

// A growable buffer held with malloc/realloc/free.
class MemoryStream : public IStream {
public:
    explicit MemoryStream(std::uint64_t size);
    // Takes everything the source has left, up to the longest picture the codecs decode
    // (4 GiB - 1); an empty stream when the source is longer than that or memory runs out. Nothing
    // past that length is read.
    explicit MemoryStream(IStream& source);
    ~MemoryStream() override;
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    std::uint64_t Read(void* buffer, std::uint64_t count) override;
    // A write that cannot get memory is dropped.
    void Write(const void* data, std::uint64_t count) override;
    void Skip(std::int32_t offset) override;
    bool IsEof() const override;

    const void* Data() const { return buffer_; }
    std::uint64_t Size() const { return size_; }

private:
    void drop();

    unsigned char* buffer_ = nullptr;
    std::uint64_t size_ = 0;
    std::uint64_t capacity_ = 0;
    std::uint64_t position_ = 0;
};

} // namespace Image

DV_EXPORTS_END
