// Facts about the registry database for tools and benchmarks that read it alongside, and the
// batch that makes one logical change of many registry calls.
#pragma once

#include "pal/visibility.h"

#include <filesystem>

DV_EXPORTS_BEGIN

namespace pal::reg {

// <sandbox root>/registry.db
std::filesystem::path databasePath();

// Every registry change this process makes while a batch lives, from any thread, becomes one
// transaction: it reaches the disk with one sync when the outermost batch ends, or not at all
// when the process dies first. A call that fails inside still undoes only its own changes.
// Another process that writes waits from the batch's first write to its end, so a batch covers
// one logical operation of its caller (a tree saved, a class registered), never a wait on
// another process.
class Batch {
public:
    Batch();
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    // Ends the batch now; false when its changes could not be written (then none were).
    bool commit();

private:
    bool open_ = false;
};

} // namespace pal::reg

DV_EXPORTS_END
