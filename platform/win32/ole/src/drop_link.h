// Drags between the programs of a sandbox.
//
// A program with a window that takes drops (a registered target, or a window that accepts
// files) listens at <run>/drop-<pid>, mode 0600. A drag whose pointer is over no window of its
// own program renders its data into a slot of the clipboard store and asks each listening
// program in turn (in the order of their socket names) about the point; the first that has a
// window there takes the pointer and runs its own drop session for the drag, on the thread that
// made it listen, reading the data from the slot. Stacking between programs is not known on the
// null display; the first program that has a window at the point wins.
//
// Requests and replies are frames of the automation link (a 4-byte little-endian length, then
// the body). A request: kind (1 byte: 1 move, 2 drop, 3 leave), x, y (signed 32-bit), key
// state, allowed effects (32-bit), slot (64-bit), all little-endian. A reply: whether a window
// of the program lies at the point (1 byte), then the effect (32-bit).
#pragma once

#include "win/ole.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace pal::ole {

// Makes this program reachable by drags from other programs, served on the calling thread.
void listenForDrops();

class RemoteDrag {
public:
    explicit RemoteDrag(IDataObject* data);
    ~RemoteDrag();
    RemoteDrag(const RemoteDrag&) = delete;
    RemoteDrag& operator=(const RemoteDrag&) = delete;

    // As DropSession::step, over the windows of the other programs.
    bool step(POINT point, DWORD keys, DWORD ok, DWORD& effect);
    DWORD drop(POINT point, DWORD keys, DWORD ok);
    void leave();

private:
    struct Peer;
    bool prepare();

    IDataObject* data_;
    bool prepared_ = false;
    std::int64_t slot_ = -1;
    std::vector<std::unique_ptr<Peer>> peers_;
    Peer* active_ = nullptr;
};

} // namespace pal::ole
