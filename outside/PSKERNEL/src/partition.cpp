// Receiving a partition and asking for its parts.
#include "session.h"

#include <climits>

using namespace pskernel;

namespace {

constexpr int readChunk = 64 * 1024;

// Reads the whole content of the file after its header through the frustrum.
PK_ERROR_t readFile(const wchar_t* name, FruArray<unsigned char>& bytes) {
    const Session& s = session();
    int id = 0;
    if (s.frustrum.open_read_wide(PK_FILE_guise_transmit_partition, PK_FILE_format_binary, name, 1, &id) != 0)
        return PK_ERROR_file_open_failed;
    const int guise = PK_FILE_guise_transmit_partition;
    PK_ERROR_t result = PK_ERROR_no_errors;
    for (;;) {
        unsigned char* room = bytes.spare(readChunk);
        if (!room) {
            result = PK_ERROR_memory_full;
            break;
        }
        int got = 0;
        int status = -1;
        s.frustrum.read(&guise, &id, &readChunk, reinterpret_cast<char*>(room), &got, &status);
        if (status == PK_FILE_status_end_of_file)
            break;
        if (status != 0 || got < 0 || got > readChunk) {
            result = PK_ERROR_file_read_failed;
            break;
        }
        bytes.commit(static_cast<std::size_t>(got));
    }
    const int keep = PK_FILE_close_keep;
    int status = 0;
    s.frustrum.close(&guise, &id, &keep, &status);
    return result;
}

// First pass: the sizes of the arrays a partition needs.
class Counter : public content::PartitionVisitor {
public:
    bool body(std::uint32_t, std::uint8_t, const unsigned char*, std::uint32_t) override {
        ++entities;
        return true;
    }
    bool assembly(std::uint32_t, std::uint32_t n) override {
        ++entities;
        instances += n;
        return true;
    }
    bool instance(const content::Instance&) override { return true; }

    std::size_t entities = 0;
    std::size_t instances = 0;
};

// Second pass: fills the partition's arrays. The geometry stays where the file was read into:
// a body keeps the offset of its bytes in that buffer, which becomes the partition's.
class Filler : public content::PartitionVisitor {
public:
    Filler(Partition& p, const unsigned char* bytes) : p_(p), bytes_(bytes) {}
    bool body(std::uint32_t number, std::uint8_t type, const unsigned char* geometry,
              std::uint32_t length) override {
        p_.entities[number - 1] =
            Entity{content::Kind::body, type, static_cast<std::uint32_t>(geometry - bytes_), length};
        return true;
    }
    bool assembly(std::uint32_t number, std::uint32_t n) override {
        p_.entities[number - 1] = Entity{content::Kind::assembly, 0, instancesUsed_, n};
        return true;
    }
    bool instance(const content::Instance& instance) override {
        p_.instances[instancesUsed_++] = instance;
        return true;
    }

private:
    Partition& p_;
    const unsigned char* bytes_;
    std::uint32_t instancesUsed_ = 0;
};

template <class T> bool allocateArray(T*& out, std::size_t n) {
    out = nullptr;
    if (n == 0)
        return true;
    if (n > static_cast<std::size_t>(-1) / sizeof(T))
        return false;
    out = static_cast<T*>(allocate(n * sizeof(T)));
    return out != nullptr;
}

// Records the creation of every entity in a delta of its own, so that the receive could be
// rolled back to the mark before it.
PK_ERROR_t recordDelta(Partition& p) {
    Session& s = session();
    if (!s.haveDeltas)
        return PK_ERROR_no_errors;
    PK_DELTA_t key = 0;
    if (s.deltas.open_for_write(s.nextMark++, &key) != 0 || key == 0)
        return PK_ERROR_delta_failed;
    bool ok = true;
    for (std::uint32_t n = 1; ok && n <= p.entityCount; ++n) {
        const PK_TAG_t tag = p.tag + static_cast<PK_TAG_t>(n);
        const char record[5] = {static_cast<char>(p.entities[n - 1].kind), static_cast<char>(tag),
                                static_cast<char>(tag >> 8), static_cast<char>(tag >> 16),
                                static_cast<char>(tag >> 24)};
        ok = s.deltas.write(key, sizeof record, record) == 0;
    }
    ok = s.deltas.close(key) == 0 && ok;
    if (!ok) {
        s.deltas.remove(key);
        return PK_ERROR_delta_failed;
    }
    p.delta = key;
    return PK_ERROR_no_errors;
}

PK_ERROR_t askKind(PK_PARTITION_t tag, content::Kind kind, int* n, PK_TAG_t** tags) {
    if (n)
        *n = 0;
    if (tags)
        *tags = nullptr;
    if (!session().started)
        return PK_ERROR_session_not_started;
    const Partition* p = findPartition(tag);
    if (!p || !n || !tags)
        return PK_ERROR_bad_tag;
    std::size_t count = 0;
    for (std::uint32_t i = 0; i < p->entityCount; ++i)
        count += p->entities[i].kind == kind;
    if (count == 0)
        return PK_ERROR_no_errors;
    PK_TAG_t* out = nullptr;
    if (!allocateArray(out, count))
        return PK_ERROR_memory_full;
    std::size_t k = 0;
    for (std::uint32_t i = 0; i < p->entityCount; ++i)
        if (p->entities[i].kind == kind)
            out[k++] = p->tag + static_cast<PK_TAG_t>(i + 1);
    *n = static_cast<int>(count);
    *tags = out;
    return PK_ERROR_no_errors;
}

} // namespace

extern "C" {

PK_ERROR_t PK_PARTITION_receive_u(const wchar_t* name, const PK_PARTITION_receive_o_t* options,
                                  PK_PARTITION_t* partition) {
    if (partition)
        *partition = 0;
    Session& s = session();
    if (!s.started)
        return PK_ERROR_session_not_started;
    if (!s.unicode)
        return PK_ERROR_not_unicode;
    if (!options || options->version != 10 || options->transmit_format != PK_transmit_format_binary ||
        !partition || !name)
        return PK_ERROR_bad_option;

    FruArray<unsigned char> bytes;
    if (const PK_ERROR_t e = readFile(name, bytes))
        return e;
    Counter counter;
    if (content::readPartition(bytes.data(), bytes.size(), counter) != content::ReadResult::ok)
        return PK_ERROR_corrupt_file;
    if (static_cast<std::int64_t>(counter.entities) > std::int64_t{INT_MAX} - s.nextTag - 1 ||
        bytes.size() > UINT32_MAX || counter.instances > UINT32_MAX)
        return PK_ERROR_memory_full;

    Partition p{};
    p.entityCount = static_cast<std::uint32_t>(counter.entities);
    if (!allocateArray(p.entities, counter.entities) || !allocateArray(p.instances, counter.instances)) {
        releasePartition(p);
        return PK_ERROR_memory_full;
    }
    Filler filler(p, bytes.data());
    content::readPartition(bytes.data(), bytes.size(), filler);
    p.geometry = bytes.take();

    p.tag = s.nextTag;
    if (const PK_ERROR_t e = recordDelta(p)) {
        releasePartition(p);
        return e;
    }
    if (!s.partitions.push(p)) {
        if (p.delta)
            s.deltas.remove(p.delta);
        releasePartition(p);
        return PK_ERROR_memory_full;
    }
    s.nextTag += static_cast<PK_TAG_t>(p.entityCount) + 1;
    *partition = p.tag;
    return PK_ERROR_no_errors;
}

PK_ERROR_t PK_PARTITION_ask_assemblies(PK_PARTITION_t partition, int* n_assemblies,
                                       PK_ASSEMBLY_t** assemblies) {
    return askKind(partition, content::Kind::assembly, n_assemblies, assemblies);
}

PK_ERROR_t PK_PARTITION_ask_bodies(PK_PARTITION_t partition, int* n_bodies, PK_BODY_t** bodies) {
    return askKind(partition, content::Kind::body, n_bodies, bodies);
}

} // extern "C"
