// Application streams: the kernel's callers hand it byte streams of their own, which the
// kernel reads and writes in items of 1, 2, 4 or 8 bytes through these callbacks.
#pragma once

#include "pal/visibility.h"
#include "pskernel.h"

#include <cstddef>
#include <map>
#include <mutex>
#include <vector>

DV_EXPORTS_BEGIN

namespace partconv {

// A stream object as the kernel's callers make it.
class AppStream {
public:
    virtual ~AppStream() = default;
    virtual void write(const void* bytes, std::size_t size) = 0;
    virtual void read(void* bytes, std::size_t size) = 0;
};

class StreamRegistry {
public:
    // Stores the stream under a new identifier: the one released last, or the next never used.
    int open(AppStream* stream, int* identifier);
    int write(int identifier, std::size_t itemSize, int items, const void* data);
    int read(int identifier, std::size_t itemSize, int items, void* data);
    // 14 when the abort flag is set. An identifier not in use is left alone (and answers 14),
    // so it can never be handed out twice.
    int close(int identifier, int abort);

private:
    AppStream* find(int identifier);

    std::mutex mutex_;
    std::map<int, AppStream*> streams_;
    std::vector<int> released_;
    int next_ = 1;
};

// The process's registry, made on first use.
StreamRegistry& streamRegistry();

// The record registered with the kernel.
PK_SESSION_applio_t applioRecord();

} // namespace partconv

DV_EXPORTS_END
