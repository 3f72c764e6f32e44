#include "afx/coll.h"
#include "afx/object.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

class Shape : public CObject {
    DECLARE_DYNAMIC(Shape)
};
IMPLEMENT_DYNAMIC(Shape, CObject)

class Circle : public Shape {
    DECLARE_DYNCREATE(Circle)
public:
    int radius = 5;
};
IMPLEMENT_DYNCREATE(Circle, Shape)

// CObject is not the first base here, so a downcast that skipped CObject's offset would point
// into the wrong subobject.
struct Padding {
    virtual ~Padding() = default;
    long long data[4] = {1, 2, 3, 4};
};
class Mixed : public Padding, public Circle {
    DECLARE_DYNCREATE(Mixed)
};
IMPLEMENT_DYNCREATE(Mixed, Circle)

TEST(RuntimeClassTest, KindFollowsTheBaseChain) {
    Mixed m;
    const CObject* o = &m;
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(Shape)));
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(Circle)));
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(Mixed)));
    Circle c;
    EXPECT_FALSE(static_cast<CObject&>(c).IsKindOf(RUNTIME_CLASS(Mixed)));
    EXPECT_STREQ(o->GetRuntimeClass()->m_lpszClassName, "Mixed");
    EXPECT_EQ(RUNTIME_CLASS(Circle)->GetBaseClass(), RUNTIME_CLASS(Shape));
}

TEST(RuntimeClassTest, OnlyDynCreateClassesCreate) {
    std::unique_ptr<CObject> made(RUNTIME_CLASS(Mixed)->CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(Mixed)));
    EXPECT_EQ(RUNTIME_CLASS(Shape)->CreateObject(), nullptr);
}

TEST(RuntimeClassTest, DowncastsFindTheRightSubobject) {
    Mixed m;
    m.radius = 42;
    CObject* o = &m;
    Circle* c = DYNAMIC_DOWNCAST(Circle, o);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->radius, 42);
    EXPECT_EQ(DYNAMIC_DOWNCAST(Mixed, o), &m);
    Shape s;
    EXPECT_EQ(DYNAMIC_DOWNCAST(Circle, &s), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(Circle, static_cast<CObject*>(nullptr)), nullptr);
    EXPECT_EQ(STATIC_DOWNCAST(Mixed, o), &m);
}

TEST(RuntimeClassTest, WrongStaticDowncastIsCaught) {
    Shape s;
#ifdef NDEBUG
    EXPECT_EQ(STATIC_DOWNCAST(Circle, &s), nullptr);
#else
    EXPECT_DEATH(STATIC_DOWNCAST(Circle, &s), "Assertion failed");
#endif
}

} // namespace

namespace {

// The growing array: each step of a script and the contents it leaves, out-of-range steps
// throwing and changing nothing.
TEST(CArrayTest, StepsLeaveTheContentsTheySayAndBadIndexesThrow) {
    CArray<int, int> a;
    struct Step {
        const char* what;
        std::function<void(CArray<int, int>&)> run;
        std::vector<int> after;
        bool throws;
    };
    const Step steps[] = {
        {"add",
         [](auto& x) {
             x.Add(1);
             x.Add(2);
         },
         {1, 2},
         false},
        {"insert in the middle", [](auto& x) { x.InsertAt(1, 9); }, {1, 9, 2}, false},
        {"insert past the end grows", [](auto& x) { x.InsertAt(5, 7); }, {1, 9, 2, 0, 0, 7}, false},
        {"remove two", [](auto& x) { x.RemoveAt(3, 2); }, {1, 9, 2, 7}, false},
        {"set",
         [](auto& x) {
             x.SetAt(0, 4);
             x[1] = 5;
         },
         {4, 5, 2, 7},
         false},
        {"read past the end", [](auto& x) { (void)x.GetAt(4); }, {4, 5, 2, 7}, true},
        {"read below zero", [](auto& x) { (void)x[-1]; }, {4, 5, 2, 7}, true},
        {"remove past the end", [](auto& x) { x.RemoveAt(3, 2); }, {4, 5, 2, 7}, true},
        {"a negative size empties", [](auto& x) { x.SetSize(-3); }, {}, false},
    };
    for (const Step& s : steps) {
        bool threw = false;
        try {
            s.run(a);
        } catch (const std::out_of_range&) {
            threw = true;
        }
        EXPECT_EQ(threw, s.throws) << s.what;
        EXPECT_EQ(std::vector<int>(a.GetData(), a.GetData() + a.GetSize()), s.after) << s.what;
    }
    EXPECT_TRUE(a.IsEmpty());
}

} // namespace
