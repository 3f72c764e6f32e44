// The kernel's session state: what the host registered and the partitions received.
#pragma once

#include "memory.h"
#include "pskernel.h"
#include "pskernel/content.h"

#include <cstdint>

namespace pskernel {

struct Entity {
    content::Kind kind;
    std::uint8_t bodyType;
    std::uint32_t first; // body: offset of its geometry; assembly: index of its first instance
    std::uint32_t count; // body: geometry bytes; assembly: instances
};

struct Partition {
    PK_PARTITION_t tag; // entity n has the tag tag + n
    std::uint32_t entityCount;
    Entity* entities;
    content::Instance* instances; // targets are entity numbers
    unsigned char* geometry;
    PK_DELTA_t delta; // the record of the receive, 0 without delta callbacks
};

struct Session {
    bool unicode = false;
    bool haveFrustrum = false;
    PK_SESSION_frustrum_t frustrum{};
    bool haveDeltas = false;
    PK_DELTA_frustrum_t deltas{};
    bool haveApplio = false;
    PK_SESSION_applio_t applio{};
    bool started = false;
    PK_TAG_t nextTag = 1;
    int nextMark = 1;
    FruArray<Partition> partitions;
};

Session& session();

void releasePartition(Partition& partition);
// The partition with that tag, or null.
Partition* findPartition(PK_TAG_t tag);
// The partition holding the entity with that tag and the entity's number, or null.
Partition* findEntity(PK_TAG_t tag, std::uint32_t& number);

} // namespace pskernel
