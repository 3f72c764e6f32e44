// Numbered application events, raised synchronously to the listeners of their id.
#pragma once

#include "pal/visibility.h"
#include "win/types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

DV_EXPORTS_BEGIN

class CDvw32Doc;
class CDVView;

// What an event carries: the document it concerns, the view when one is meant, and flags
// whose meaning is the event's. Events with more to say derive from it.
class ApplicationEventArgs {
public:
    ApplicationEventArgs() = default;
    explicit ApplicationEventArgs(CDvw32Doc* document, unsigned flags = 0, CDVView* view = nullptr)
        : Document(document), View(view), Flags(flags) {}
    virtual ~ApplicationEventArgs() = default;

    CDvw32Doc* Document = nullptr;
    CDVView* View = nullptr;
    unsigned Flags = 0;
};

// Event 1026: a person picks a colour from the colour books. The asker fills the owner, the folder
// of the books and the place to open at; a listener that lets the person choose sets the colour
// and the chosen flag.
class AlterColorSelectArgs : public ApplicationEventArgs {
public:
    HWND Owner = nullptr;
    std::wstring ColorBooksFolder;
    std::wstring Text;
    RECT Position{};
    std::uint32_t Color = 0;
    bool Chosen = false;
};

// Event 1034: a document's content changed. The first word (Flags) says what changed, the
// second how: 4 in the first is a change of what the document holds, 2 in the second a change
// that only the views see.
class DocumentContentChangedArgs : public ApplicationEventArgs {
public:
    using ApplicationEventArgs::ApplicationEventArgs;
    unsigned ChangeFlags = 0;
};

class ApplicationEventListener {
public:
    // A listener that is destroyed is removed, however it was added.
    virtual ~ApplicationEventListener();
    virtual void OnApplicationEvent(int event, ApplicationEventArgs& args) = 0;
};

class ApplicationEventManager {
public:
    // Delivers the event to every listener whose ids hold it, in the order they were added,
    // on the calling thread. A listener removed during delivery gets nothing more; one added
    // during delivery hears the next event. `result`, when given, receives the number of
    // listeners that the event reached.
    static void runEvent(int event, ApplicationEventArgs& args, int* result = nullptr);
    static void runEvent(int event, ApplicationEventArgs&& args, int* result = nullptr) {
        runEvent(event, args, result);
    }

    // A listener is added once with all its ids; adding it again replaces its ids.
    static void addListener(ApplicationEventListener* listener, const int* ids, size_t count);
    static void removeListener(ApplicationEventListener* listener);
    static size_t listenerCount(int event);
};

// A listener of a fixed list of event ids, heard from construction to destruction.
template <int... Ids> class TypedApplicationEventListener : public ApplicationEventListener {
public:
    static constexpr std::array<int, sizeof...(Ids)> EventIds{Ids...};

protected:
    TypedApplicationEventListener() {
        ApplicationEventManager::addListener(this, EventIds.data(), EventIds.size());
    }
    // A copy is a listener of its own.
    TypedApplicationEventListener(const TypedApplicationEventListener&) : TypedApplicationEventListener() {}
    TypedApplicationEventListener& operator=(const TypedApplicationEventListener&) { return *this; }
    ~TypedApplicationEventListener() override { ApplicationEventManager::removeListener(this); }
};

DV_EXPORTS_END
