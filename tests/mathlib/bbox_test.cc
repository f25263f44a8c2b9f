//------------------------------------------------------------------------------
//  Tests of bbox3.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>
#include "mathlib/bbox.h"
#include "mathtesthelpers.h"

TEST(BBoxTest, CornersAtTheOriginByDefault)
{
    const bbox3 box;
    EXPECT_EQ(box.vmin, vector3());
    EXPECT_EQ(box.vmax, vector3());
}

TEST(BBoxTest, CentreAndExtents)
{
    const bbox3 box(vector3(0.0f, 0.0f, 0.0f), vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(box.vmin, vector3(-1.0f, -2.0f, -3.0f));
    EXPECT_EQ(box.vmax, vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(box.center(), vector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(box.extents(), vector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(box.size(), vector3(2.0f, 4.0f, 6.0f));

    bbox3 moved;
    moved.set(vector3(5.0f, 5.0f, 5.0f), vector3(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(moved.vmin, vector3(4.5f, 4.5f, 4.5f));
    EXPECT_EQ(moved.center(), vector3(5.0f, 5.0f, 5.0f));
}

TEST(BBoxTest, ExtendGrowsAroundPointsAndBoxes)
{
    bbox3 box;
    box.begin_extend();
    box.extend(vector3(1.0f, -1.0f, 2.0f));
    EXPECT_EQ(box.vmin, vector3(1.0f, -1.0f, 2.0f));
    EXPECT_EQ(box.vmax, vector3(1.0f, -1.0f, 2.0f));
    box.extend(vector3(-3.0f, 4.0f, 2.5f));
    EXPECT_EQ(box.vmin, vector3(-3.0f, -1.0f, 2.0f));
    EXPECT_EQ(box.vmax, vector3(1.0f, 4.0f, 2.5f));
    box.extend(bbox3(vector3(10.0f, 0.0f, 0.0f), vector3(1.0f, 1.0f, 1.0f)));
    EXPECT_EQ(box.vmin, vector3(-3.0f, -1.0f, -1.0f));
    EXPECT_EQ(box.vmax, vector3(11.0f, 4.0f, 2.5f));
}

TEST(BBoxTest, TransformGivesTheBoxAroundTheMovedCorners)
{
    bbox3 box(vector3(0.0f, 0.0f, 0.0f), vector3(1.0f, 2.0f, 3.0f));
    matrix44 m;
    m.rotate_z(N_PI * 0.5f);
    m.translate(vector3(10.0f, 0.0f, 0.0f));
    box.transform(m);
    EXPECT_TRUE(NearVec(box.vmin, vector3(8.0f, -1.0f, -3.0f)));
    EXPECT_TRUE(NearVec(box.vmax, vector3(12.0f, 1.0f, 3.0f)));
}

TEST(BBoxTest, ContainsAndIntersectsCountTheFaces)
{
    const bbox3 box(vector3(0.0f, 0.0f, 0.0f), vector3(1.0f, 1.0f, 1.0f));
    EXPECT_TRUE(box.contains(vector3(0.0f, 0.0f, 0.0f)));
    EXPECT_TRUE(box.contains(vector3(1.0f, -1.0f, 1.0f)));
    EXPECT_FALSE(box.contains(vector3(1.01f, 0.0f, 0.0f)));
    EXPECT_TRUE(box.intersects(bbox3(vector3(2.0f, 0.0f, 0.0f), vector3(1.0f, 1.0f, 1.0f))));
    EXPECT_FALSE(box.intersects(bbox3(vector3(2.5f, 0.0f, 0.0f), vector3(1.0f, 1.0f, 1.0f))));
    EXPECT_FALSE(box.intersects(bbox3(vector3(0.0f, 0.0f, -3.0f), vector3(1.0f, 1.0f, 1.0f))));
}
