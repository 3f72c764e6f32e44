// Helpers shared by the image tests: fixture files and a stream over a byte vector.
#pragma once

#include "dvpimage/stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace dvpimage_test {

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> readFixture(const std::string& name) {
    std::ifstream in(std::string(DVPIMAGE_FIXTURES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A stream the tests can look into; Read hands out at most maxRead bytes a call, like a pipe.
class VectorStream : public Image::IStream {
public:
    VectorStream() = default;
    explicit VectorStream(std::vector<std::uint8_t> bytes, std::uint64_t maxRead = UINT64_MAX)
        : bytes_(std::move(bytes)), maxRead_(maxRead) {}

    std::uint64_t Read(void* buffer, std::uint64_t count) override {
        const std::uint64_t n = std::min({count, maxRead_, std::uint64_t{bytes_.size() - position_}});
        if (n > 0) // an empty vector has no data pointer to copy from
            std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return n;
    }
    void Write(const void* data, std::uint64_t count) override {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + count);
    }
    void Skip(std::int32_t offset) override {
        const std::int64_t to = static_cast<std::int64_t>(position_) + offset;
        position_ = static_cast<std::size_t>(std::clamp<std::int64_t>(to, 0, bytes_.size()));
    }
    bool IsEof() const override { return position_ >= bytes_.size(); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::size_t position() const { return position_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
    std::uint64_t maxRead_ = UINT64_MAX;
};

inline std::uint32_t fnv1a(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

} // namespace dvpimage_test
