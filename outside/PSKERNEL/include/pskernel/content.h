// The content of partition and part files (see pskernel.h for the layout): a reader and a
// writer that allocate nothing, used by the kernel, and a plain encoder and decoder over
// standard containers for the programs that make or inspect such files.
#pragma once

#include "pal/visibility.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

DV_EXPORTS_BEGIN

namespace pskernel::content {

inline constexpr std::string_view partitionMagic = "PXMP";
inline constexpr std::string_view partMagic = "PXMT";

enum class Kind : std::uint8_t { body = 1, assembly = 2 };
inline constexpr std::uint8_t maxBodyType = 4;
inline constexpr std::size_t transformValues = 12;

struct Instance {
    std::uint32_t target = 0; // an entity number in a partition, a tag in a part
    double transform[transformValues] = {};
};

// Called by readPartition for each entity in file order; returning false stops the read.
class PartitionVisitor {
public:
    virtual ~PartitionVisitor() = default;
    virtual bool body(std::uint32_t number, std::uint8_t type, const unsigned char* geometry,
                      std::uint32_t length) = 0;
    virtual bool assembly(std::uint32_t number, std::uint32_t instanceCount) = 0;
    virtual bool instance(const Instance& instance) = 0;
};

enum class ReadResult { ok, corrupt, stopped };
// Checks and walks the partition content. Every count is checked against the bytes that
// remain before anything is handed on, so a corrupt count never leads to a large request.
ReadResult readPartition(const unsigned char* data, std::size_t size, PartitionVisitor& visitor);

// Where the writer puts bytes; false ends the writing.
class Sink {
public:
    virtual ~Sink() = default;
    virtual bool put(const unsigned char* bytes, std::size_t size) = 0;
};

bool writePartStart(Sink& sink, std::uint32_t partCount);
bool writeBody(Sink& sink, std::uint32_t tag, std::uint8_t type, const unsigned char* geometry,
               std::uint32_t length);
bool writeAssembly(Sink& sink, std::uint32_t tag, std::uint32_t instanceCount);
bool writeInstance(Sink& sink, const Instance& instance);

// One entity of a partition or one part of a part file, as plain values.
struct Item {
    Kind kind = Kind::body;
    std::uint32_t tag = 0; // parts only
    std::uint8_t bodyType = 1;
    std::string geometry;
    std::vector<Instance> instances;
};

std::string encodePartition(const std::vector<Item>& entities);
// False when the bytes are not a well-formed part content.
bool decodePart(std::string_view bytes, std::vector<Item>& parts);

} // namespace pskernel::content

DV_EXPORTS_END
