//------------------------------------------------------------------------------
//  Tests of rectangle.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>
#include "mathlib/rectangle.h"

namespace
{

rectangle
Rect(float left, float top, float right, float bottom)
{
    return rectangle(vector2(left, top), vector2(right, bottom));
}

bool
Same(const rectangle& a, const rectangle& b)
{
    return (a.v0 == b.v0) && (a.v1 == b.v1);
}

} // namespace

TEST(RectangleTest, Measures)
{
    const rectangle r = Rect(0.25f, 0.5f, 1.0f, 0.75f);
    EXPECT_EQ(r.width(), 0.75f);
    EXPECT_EQ(r.height(), 0.25f);
    EXPECT_EQ(r.area(), 0.1875f);
    EXPECT_EQ(r.midpoint(), vector2(0.625f, 0.625f));
    EXPECT_EQ(rectangle().area(), 0.0f);
}

TEST(RectangleTest, InsideCountsTheEdges)
{
    const rectangle r = Rect(0.0f, 0.0f, 1.0f, 0.5f);
    EXPECT_TRUE(r.inside(vector2(0.5f, 0.25f)));
    EXPECT_TRUE(r.inside(vector2(0.0f, 0.0f)));
    EXPECT_TRUE(r.inside(vector2(1.0f, 0.5f)));
    EXPECT_FALSE(r.inside(vector2(1.0f, 0.51f)));
    EXPECT_FALSE(r.inside(vector2(-0.01f, 0.25f)));
}

TEST(RectangleTest, Intersection)
{
    const rectangle a = Rect(0.0f, 0.0f, 0.5f, 0.5f);
    const struct { rectangle b; rectangle result; } cases[] = {
        { Rect(0.25f, 0.25f, 1.0f, 1.0f), Rect(0.25f, 0.25f, 0.5f, 0.5f) },
        { Rect(0.1f, 0.1f, 0.2f, 0.2f), Rect(0.1f, 0.1f, 0.2f, 0.2f) },
        { Rect(-1.0f, -1.0f, 2.0f, 2.0f), a },
        // apart, or only touching: the empty rectangle at a's top-left corner
        { Rect(0.6f, 0.0f, 1.0f, 0.5f), Rect(0.0f, 0.0f, 0.0f, 0.0f) },
        { Rect(0.5f, 0.0f, 1.0f, 0.5f), Rect(0.0f, 0.0f, 0.0f, 0.0f) },
        { Rect(0.0f, 0.5f, 0.5f, 1.0f), Rect(0.0f, 0.0f, 0.0f, 0.0f) },
        // overlapping but without area
        { Rect(0.2f, 0.2f, 0.2f, 0.4f), Rect(0.0f, 0.0f, 0.0f, 0.0f) },
    };
    for (const auto& c : cases)
    {
        EXPECT_TRUE(Same(a.intersection(c.b), c.result))
            << c.b.v0.x << " " << c.b.v0.y << " " << c.b.v1.x << " " << c.b.v1.y;
    }
    const rectangle moved = Rect(0.3f, 0.2f, 0.4f, 0.2f);
    EXPECT_TRUE(Same(moved.intersection(a), Rect(0.3f, 0.2f, 0.3f, 0.2f)));
}
