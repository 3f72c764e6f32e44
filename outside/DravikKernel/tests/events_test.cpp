#include "DravikKernel/ApplicationEvents.h"
#include "DravikKernel/DocumentManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_heard;

template <int... Ids> class Recorder : public TypedApplicationEventListener<Ids...> {
public:
    explicit Recorder(std::string name, std::function<void(int)> action = {})
        : name_(std::move(name)), action_(std::move(action)) {}
    void OnApplicationEvent(int event, ApplicationEventArgs& args) override {
        g_heard.push_back(name_ + ":" + std::to_string(event));
        lastArgs = &args;
        if (action_)
            action_(event);
    }
    ApplicationEventArgs* lastArgs = nullptr;

private:
    std::string name_;
    std::function<void(int)> action_;
};

class Events : public ::testing::Test {
protected:
    void SetUp() override { g_heard.clear(); }
};

TEST_F(Events, ReachOnlyTheListenersWhoseIdsHoldThem) {
    Recorder<783> app("app");
    Recorder<515, 531, 778, 783, 791, 1037> control("control");
    Recorder<1043> panel("panel");
    struct Case {
        int event;
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        {783, {"app:783", "control:783"}},
        {1037, {"control:1037"}},
        {1043, {"panel:1043"}},
        {1030, {}},
    };
    for (const auto& c : cases) {
        g_heard.clear();
        int reached = -1;
        ApplicationEventArgs args;
        ApplicationEventManager::runEvent(c.event, args, &reached);
        EXPECT_EQ(g_heard, c.heard) << c.event;
        EXPECT_EQ(reached, static_cast<int>(c.heard.size())) << c.event;
    }
}

TEST_F(Events, TheArgumentsReachTheListenerAsGiven) {
    Recorder<258> listener("l");
    int doc = 0;
    auto* document = reinterpret_cast<CDvw32Doc*>(&doc);
    ApplicationEventArgs args(document, 0x20);
    ApplicationEventManager::runEvent(258, args);
    ASSERT_EQ(listener.lastArgs, &args);
    EXPECT_EQ(listener.lastArgs->Document, document);
    EXPECT_EQ(listener.lastArgs->Flags, 0x20u);
    ApplicationEventManager::runEvent(258, ApplicationEventArgs()); // a temporary, as for 1030
    EXPECT_EQ(g_heard.size(), 2u);
}

TEST_F(Events, ADestroyedListenerIsRemoved) {
    {
        Recorder<783> gone("gone");
        EXPECT_EQ(ApplicationEventManager::listenerCount(783), 1u);
    }
    EXPECT_EQ(ApplicationEventManager::listenerCount(783), 0u);
    ApplicationEventManager::runEvent(783, ApplicationEventArgs());
    EXPECT_TRUE(g_heard.empty());
}

// Listeners may destroy other listeners, add new ones and raise further events while an event
// is being delivered; nothing is delivered to a listener that is gone.
TEST_F(Events, ListenersChangingDuringDelivery) {
    std::unique_ptr<Recorder<1>> second;
    std::unique_ptr<Recorder<1>> added;
    Recorder<1> first("first", [&](int) {
        second.reset();
        if (!added)
            added = std::make_unique<Recorder<1>>("added");
    });
    second = std::make_unique<Recorder<1>>("second");
    ApplicationEventManager::runEvent(1, ApplicationEventArgs());
    EXPECT_EQ(g_heard, std::vector<std::string>{"first:1"});
    g_heard.clear();
    ApplicationEventManager::runEvent(1, ApplicationEventArgs());
    EXPECT_EQ(g_heard, (std::vector<std::string>{"first:1", "added:1"}));

    g_heard.clear();
    Recorder<1030> outer("outer",
                         [](int) { ApplicationEventManager::runEvent(1043, ApplicationEventArgs()); });
    Recorder<1043> inner("inner");
    ApplicationEventManager::runEvent(1030, ApplicationEventArgs());
    EXPECT_EQ(g_heard, (std::vector<std::string>{"outer:1030", "inner:1043"}));
}

TEST_F(Events, AListenerAddedByHandIsRemovedWhenDestroyed) {
    struct Plain : ApplicationEventListener {
        void OnApplicationEvent(int, ApplicationEventArgs&) override { g_heard.push_back("plain"); }
    };
    {
        Plain plain;
        const int ids[] = {1026, 1027};
        ApplicationEventManager::addListener(&plain, ids, 2);
        ApplicationEventManager::runEvent(1027, ApplicationEventArgs());
    }
    EXPECT_EQ(ApplicationEventManager::listenerCount(1027), 0u);
    ApplicationEventManager::runEvent(1027, ApplicationEventArgs());
    EXPECT_EQ(g_heard, std::vector<std::string>{"plain"});
}

TEST_F(Events, ACopiedListenerListensOnItsOwn) {
    Recorder<783> original("a");
    {
        Recorder<783> copy(original);
        EXPECT_EQ(ApplicationEventManager::listenerCount(783), 2u);
    }
    EXPECT_EQ(ApplicationEventManager::listenerCount(783), 1u);
}

TEST(Documents, AreListedInOpeningOrderOnce) {
    int a = 0, b = 0, c = 0;
    auto* da = reinterpret_cast<CDvw32Doc*>(&a);
    auto* db = reinterpret_cast<CDvw32Doc*>(&b);
    auto* dc = reinterpret_cast<CDvw32Doc*>(&c);
    auto& manager = DocumentManager::Instance();
    manager.AddDocument(da);
    manager.AddDocument(db);
    manager.AddDocument(da);
    manager.AddDocument(dc);
    manager.AddDocument(nullptr);
    EXPECT_EQ(manager.GetDocuments(), (std::vector<CDvw32Doc*>{da, db, dc}));
    manager.RemoveDocument(db);
    manager.RemoveDocument(db);
    EXPECT_EQ(manager.GetDocuments(), (std::vector<CDvw32Doc*>{da, dc}));
    EXPECT_TRUE(manager.IsOpen(dc));
    EXPECT_FALSE(manager.IsOpen(db));
    manager.RemoveDocument(da);
    manager.RemoveDocument(dc);
    EXPECT_EQ(manager.GetDocumentCount(), 0u);
}

} // namespace
