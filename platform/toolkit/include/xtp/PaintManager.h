// The paint manager that draws every command bar of the process. One instance is shared; the
// application holds a reference from start-up to shut-down so that the instance outlives the
// last bar, and gives it back once.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

class CXTPPaintManager {
public:
    // The shared instance, made on the first reference; each call takes one more reference.
    static CXTPPaintManager* GetInstanceAddRef();
    // Gives one reference back; the instance goes with the last one. A release without a
    // reference held does nothing.
    static void ReleaseInstance();
    // The shared instance without taking a reference, or null when nobody holds one.
    static CXTPPaintManager* GetInstance();
    // The references held now.
    static long GetInstanceRefCount();

    CXTPPaintManager(const CXTPPaintManager&) = delete;
    CXTPPaintManager& operator=(const CXTPPaintManager&) = delete;

private:
    CXTPPaintManager() = default;
    ~CXTPPaintManager() = default;
};

DV_EXPORTS_END
