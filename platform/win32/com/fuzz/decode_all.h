// Feeds one frame body to every decoder of the wire, the way a server or a client would meet
// it, with a codec that accepts a few object ids. Shared by the fuzz target and the tests that
// replay its findings.
#pragma once

#include "pal/com/wire.h"

namespace pal::com::fuzz {

class FewObjects : public wire::ObjectCodec {
public:
    bool exportObject(IDispatch*, std::uint64_t&) override { return false; }
    bool importObject(std::uint64_t id, IDispatch** object) override {
        *object = nullptr;
        return id <= 3; // ids 1..3 stand for objects whose pointer is never used
    }
};

inline void decodeAll(std::string_view body) {
    FewObjects objects;
    wire::Header h;
    wire::decodeHeader(body, h);
    wire::CreateRequest create;
    wire::decode(body, create);
    wire::ObjectReply object;
    wire::decode(body, object);
    wire::NamesRequest names;
    wire::decode(body, names);
    wire::NamesReply ids;
    wire::decode(body, ids);
    wire::ReleaseNote release;
    wire::decode(body, release);
    wire::InvokeRequest invoke;
    wire::decode(body, invoke, objects);
    wire::InvokeReply reply;
    wire::decode(body, reply, objects);
}

} // namespace pal::com::fuzz
