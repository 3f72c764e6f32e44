// The bridge to the maker's managed user interface: start-up's requests and the prototypes callback.
#pragma once

#include "pal/visibility.h"

DV_EXPORTS_BEGIN

namespace DravikManagedUIProxy {

// Prepares the managed side's access to the program's resources.
void InitManagedResourcesWraps();

// The managed windows' side of the program: no managed runtime runs here, so the accessors keep
// what they are told, and the requests show in the call record.
class WpfAccessor {
public:
    // Dark or light colours for the managed windows; the application follows its theme.
    static void EnableDarkTheme(bool dark);
    static bool IsDarkThemeEnabled();
    // Ends the managed windows' dispatcher at exit; later calls do nothing.
    static void ShutdownDispatcher();
    static bool IsDispatcherShutDown();
};

class StringResourceAccessor {
public:
    // The managed texts follow the session's language again, after it changed.
    static void UpdateResourcesCulture();
};

// What the managed prototypes control calls to make a document from a prototype the user chose.
class IPrototypesCallback {
public:
    virtual void CreateDocumentFromPrototype(const wchar_t* prototypePath) = 0;

protected:
    ~IPrototypesCallback() = default;
};

} // namespace DravikManagedUIProxy

DV_EXPORTS_END
