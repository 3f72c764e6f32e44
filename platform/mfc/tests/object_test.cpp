#include "afx/object.h"

#include <gtest/gtest.h>

#include <memory>

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
