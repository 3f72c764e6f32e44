// The bridge to the maker's managed user interface: start-up's requests and the prototypes callback.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <memory>
#include <string>
#include <utility>

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

// The managed side's presentation texts by name; an empty text for a name it does not have.
class PresentationResourceAccessor {
public:
    static std::wstring GetString(const wchar_t* name);
};

// Names documents by the naming rules: a base (the document's title without its extension)
// followed by a number of three or more digits, counted from 1 by each namer. The rules dialog
// shows the rule and the next name; a person who accepts it moves the namer to the next number.
class AutoNamer {
public:
    // The namer for a document of that title; null for none or an empty one.
    static std::unique_ptr<AutoNamer> Create(const wchar_t* documentTitle);

    // The name it proposes now, without folder or extension.
    std::wstring GetName() const;
    // Shows the rules owned by `owner`; true when the person accepted them.
    bool ShowRulesDialog(HWND owner);

private:
    explicit AutoNamer(std::wstring base) : base_(std::move(base)) {}
    std::wstring base_;
    int number_ = 1;
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
