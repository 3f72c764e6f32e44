#include "session.h"

#include "pskernel/detail/session_control.h"

#include <new>

namespace pskernel {
namespace {

// Every block starts with its size, which the frustrum's release needs back.
constexpr std::size_t blockHeader = alignof(std::max_align_t);

} // namespace

Session& session() {
    static Session* s = new Session;
    return *s;
}

void* allocate(std::size_t size) {
    const Session& s = session();
    if (!s.haveFrustrum || size == 0 || size > static_cast<std::size_t>(-1) - blockHeader)
        return nullptr;
    const std::size_t total = size + blockHeader;
    char* block = nullptr;
    int status = -1;
    s.frustrum.allocate(&total, &block, &status);
    if (status != 0 || !block)
        return nullptr;
    *reinterpret_cast<std::size_t*>(block) = total;
    return block + blockHeader;
}

void release(void* pointer) {
    const Session& s = session();
    if (!pointer || !s.haveFrustrum)
        return;
    char* block = static_cast<char*>(pointer) - blockHeader;
    const std::size_t total = *reinterpret_cast<std::size_t*>(block);
    int status = 0;
    s.frustrum.release(&total, &block, &status);
}

void releasePartition(Partition& partition) {
    release(partition.entities);
    release(partition.instances);
    release(partition.geometry);
    partition = Partition{};
}

Partition* findPartition(PK_TAG_t tag) {
    auto& parts = session().partitions;
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (tag > 0 && parts[i].tag == tag)
            return &parts[i];
    return nullptr;
}

Partition* findEntity(PK_TAG_t tag, std::uint32_t& number) {
    auto& parts = session().partitions;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        Partition& p = parts[i];
        if (tag > p.tag && static_cast<std::int64_t>(tag) - p.tag <= p.entityCount) {
            number = static_cast<std::uint32_t>(tag - p.tag);
            return &p;
        }
    }
    return nullptr;
}

namespace detail {

void endSession() {
    Session& s = session();
    for (std::size_t i = 0; i < s.partitions.size(); ++i)
        releasePartition(s.partitions[i]);
    s.partitions.clear();
    // The arrays above went back through the old frustrum; only then is it forgotten.
    s.~Session();
    new (&s) Session;
}

} // namespace detail
} // namespace pskernel

using namespace pskernel;

extern "C" {

PK_ERROR_t PK_SESSION_set_unicode(PK_LOGICAL_t on) {
    session().unicode = on != 0;
    return PK_ERROR_no_errors;
}

PK_ERROR_t PK_SESSION_register_frustrum(const PK_SESSION_frustrum_t* frustrum) {
    Session& s = session();
    if (s.started)
        return PK_ERROR_session_started;
    if (!frustrum || !frustrum->start || !frustrum->abort || !frustrum->stop || !frustrum->allocate ||
        !frustrum->release || !frustrum->open_read || !frustrum->open_write || !frustrum->close ||
        !frustrum->read || !frustrum->write || !frustrum->open_read_wide || !frustrum->open_write_wide)
        return PK_ERROR_bad_frustrum;
    s.frustrum = *frustrum;
    s.haveFrustrum = true;
    return PK_ERROR_no_errors;
}

PK_ERROR_t PK_DELTA_register_callbacks(PK_DELTA_frustrum_t callbacks) {
    Session& s = session();
    if (s.started || !callbacks.open_for_write || !callbacks.open_for_read || !callbacks.close ||
        !callbacks.write || !callbacks.read || !callbacks.remove)
        return PK_ERROR_bad_delta_callbacks;
    s.deltas = callbacks;
    s.haveDeltas = true;
    return PK_ERROR_no_errors;
}

PK_ERROR_t PK_SESSION_register_applio(const PK_SESSION_applio_t* applio) {
    Session& s = session();
    if (!applio || !applio->open_read || !applio->open_write || !applio->write_bytes ||
        !applio->write_chars || !applio->write_shorts || !applio->write_ints || !applio->write_longs ||
        !applio->read_bytes || !applio->read_chars || !applio->read_shorts || !applio->read_ints ||
        !applio->read_longs || !applio->close)
        return PK_ERROR_bad_frustrum;
    s.applio = *applio;
    s.haveApplio = true;
    return PK_ERROR_no_errors;
}

PK_ERROR_t PK_SESSION_start(const PK_SESSION_start_o_t* options) {
    Session& s = session();
    if (!options || options->version != 1)
        return PK_ERROR_bad_option;
    if (!s.haveFrustrum)
        return PK_ERROR_no_frustrum;
    if (s.started)
        return PK_ERROR_session_started;
    int status = -1;
    s.frustrum.start(&status);
    if (status != 0)
        return PK_ERROR_frustrum_failure;
    s.started = true;
    return PK_ERROR_no_errors;
}

PK_ERROR_t PK_MEMORY_free(void* pointer) {
    release(pointer);
    return PK_ERROR_no_errors;
}

} // extern "C"
