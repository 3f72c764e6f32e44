#include "pskernel/content.h"

#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "content bytes are copied as they lie in memory");

namespace pskernel::content {
namespace {

constexpr std::size_t transformBytes = transformValues * sizeof(double);
constexpr std::size_t instanceBytes = 4 + transformBytes;
// The smallest entity: an assembly without instances (kind and count).
constexpr std::size_t smallestEntity = 1 + 4;

class Cursor {
public:
    Cursor(const unsigned char* data, std::size_t size) : p_(data), end_(data + size) {}
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - p_); }
    bool u8(std::uint8_t& v) {
        if (remaining() < 1)
            return false;
        v = *p_++;
        return true;
    }
    bool u32(std::uint32_t& v) {
        if (remaining() < 4)
            return false;
        v = std::uint32_t(p_[0]) | std::uint32_t(p_[1]) << 8 | std::uint32_t(p_[2]) << 16 |
            std::uint32_t(p_[3]) << 24;
        p_ += 4;
        return true;
    }
    bool bytes(std::size_t n, const unsigned char*& out) {
        if (remaining() < n)
            return false;
        out = p_;
        p_ += n;
        return true;
    }
    bool magic(std::string_view m) {
        const unsigned char* b = nullptr;
        return bytes(m.size(), b) && std::memcmp(b, m.data(), m.size()) == 0;
    }

private:
    const unsigned char* p_;
    const unsigned char* end_;
};

bool putU32(Sink& sink, std::uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    return sink.put(b, 4);
}

bool putU8(Sink& sink, std::uint8_t v) {
    return sink.put(&v, 1);
}

class StringSink : public Sink {
public:
    bool put(const unsigned char* bytes, std::size_t size) override {
        out.append(reinterpret_cast<const char*>(bytes), size);
        return true;
    }
    std::string out;
};

} // namespace

ReadResult readPartition(const unsigned char* data, std::size_t size, PartitionVisitor& visitor) {
    Cursor in(data, size);
    std::uint32_t count = 0;
    if (!in.magic(partitionMagic) || !in.u32(count) || count > in.remaining() / smallestEntity)
        return ReadResult::corrupt;
    for (std::uint32_t number = 1; number <= count; ++number) {
        std::uint8_t kind = 0;
        if (!in.u8(kind))
            return ReadResult::corrupt;
        if (kind == static_cast<std::uint8_t>(Kind::body)) {
            std::uint8_t type = 0;
            std::uint32_t length = 0;
            const unsigned char* geometry = nullptr;
            if (!in.u8(type) || type == 0 || type > maxBodyType || !in.u32(length) ||
                !in.bytes(length, geometry))
                return ReadResult::corrupt;
            if (!visitor.body(number, type, geometry, length))
                return ReadResult::stopped;
        } else if (kind == static_cast<std::uint8_t>(Kind::assembly)) {
            std::uint32_t instances = 0;
            if (!in.u32(instances) || instances > in.remaining() / instanceBytes)
                return ReadResult::corrupt;
            if (!visitor.assembly(number, instances))
                return ReadResult::stopped;
            for (std::uint32_t i = 0; i < instances; ++i) {
                Instance instance;
                const unsigned char* transform = nullptr;
                if (!in.u32(instance.target) || instance.target == 0 || instance.target >= number ||
                    !in.bytes(transformBytes, transform))
                    return ReadResult::corrupt;
                std::memcpy(instance.transform, transform, transformBytes);
                if (!visitor.instance(instance))
                    return ReadResult::stopped;
            }
        } else {
            return ReadResult::corrupt;
        }
    }
    return in.remaining() == 0 ? ReadResult::ok : ReadResult::corrupt;
}

bool writePartStart(Sink& sink, std::uint32_t partCount) {
    return sink.put(reinterpret_cast<const unsigned char*>(partMagic.data()), partMagic.size()) &&
           putU32(sink, partCount);
}

bool writeBody(Sink& sink, std::uint32_t tag, std::uint8_t type, const unsigned char* geometry,
               std::uint32_t length) {
    return putU8(sink, static_cast<std::uint8_t>(Kind::body)) && putU32(sink, tag) && putU8(sink, type) &&
           putU32(sink, length) && (length == 0 || sink.put(geometry, length));
}

bool writeAssembly(Sink& sink, std::uint32_t tag, std::uint32_t instanceCount) {
    return putU8(sink, static_cast<std::uint8_t>(Kind::assembly)) && putU32(sink, tag) &&
           putU32(sink, instanceCount);
}

bool writeInstance(Sink& sink, const Instance& instance) {
    return putU32(sink, instance.target) &&
           sink.put(reinterpret_cast<const unsigned char*>(instance.transform), transformBytes);
}

std::string encodePartition(const std::vector<Item>& entities) {
    StringSink sink;
    sink.put(reinterpret_cast<const unsigned char*>(partitionMagic.data()), partitionMagic.size());
    putU32(sink, static_cast<std::uint32_t>(entities.size()));
    for (const Item& e : entities) {
        putU8(sink, static_cast<std::uint8_t>(e.kind));
        if (e.kind == Kind::body) {
            putU8(sink, e.bodyType);
            putU32(sink, static_cast<std::uint32_t>(e.geometry.size()));
            sink.out += e.geometry;
        } else {
            putU32(sink, static_cast<std::uint32_t>(e.instances.size()));
            for (const Instance& i : e.instances)
                writeInstance(sink, i);
        }
    }
    return std::move(sink.out);
}

bool decodePart(std::string_view bytes, std::vector<Item>& parts) {
    parts.clear();
    Cursor in(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    std::uint32_t count = 0;
    if (!in.magic(partMagic) || !in.u32(count))
        return false;
    for (std::uint32_t n = 0; n < count; ++n) {
        Item item;
        std::uint8_t kind = 0;
        if (!in.u8(kind) || !in.u32(item.tag))
            return false;
        item.kind = static_cast<Kind>(kind);
        if (item.kind == Kind::body) {
            std::uint32_t length = 0;
            const unsigned char* geometry = nullptr;
            if (!in.u8(item.bodyType) || !in.u32(length) || !in.bytes(length, geometry))
                return false;
            item.geometry.assign(reinterpret_cast<const char*>(geometry), length);
        } else if (item.kind == Kind::assembly) {
            std::uint32_t instances = 0;
            if (!in.u32(instances) || instances > in.remaining() / instanceBytes)
                return false;
            for (std::uint32_t i = 0; i < instances; ++i) {
                Instance instance;
                const unsigned char* transform = nullptr;
                if (!in.u32(instance.target) || !in.bytes(transformBytes, transform))
                    return false;
                std::memcpy(instance.transform, transform, transformBytes);
                item.instances.push_back(instance);
            }
        } else {
            return false;
        }
        parts.push_back(std::move(item));
    }
    return in.remaining() == 0;
}

} // namespace pskernel::content
