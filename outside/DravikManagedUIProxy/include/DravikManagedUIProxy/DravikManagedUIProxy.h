// The bridge to the maker's managed user interface: what start-up asks of it so far.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace DravikManagedUIProxy {

// Prepares the managed side's access to the program's resources.
void InitManagedResourcesWraps();

// What the managed prototypes control calls to make a document from a prototype the user chose.
class IPrototypesCallback {
public:
    virtual void CreateDocumentFromPrototype(const wchar_t* prototypePath) = 0;

protected:
    ~IPrototypesCallback() = default;
};

} // namespace DravikManagedUIProxy

DV_EXPORTS_END
