//------------------------------------------------------------------------------
//  ngfxhandle_test.cc
//------------------------------------------------------------------------------
#include "platform/ngfxhandle.h"
#include "platform/nnulldevice.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <unordered_map>

namespace
{

// a handle of one kind never stands for another kind, nor for a bare number
static_assert(!std::is_convertible_v<nGfxTextureHandle, nGfxBufferHandle>);
static_assert(!std::is_constructible_v<nGfxBufferHandle, nGfxTextureHandle>);
static_assert(!std::is_convertible_v<nGfxBufferHandle, nGfxLayoutHandle>);
static_assert(!std::is_convertible_v<nGfxTextureHandle, nGfxDepthSurfaceHandle>);
static_assert(!std::is_convertible_v<nGfxProgramHandle, nGfxSamplerHandle>);
static_assert(!std::is_convertible_v<int, nGfxBufferHandle>);
static_assert(!std::is_convertible_v<unsigned int, nGfxTextureHandle>);
static_assert(!std::is_convertible_v<nGfxBufferHandle, int>);

// the device's calls take their own kind only
template <class H>
concept LocksBuffer = requires(nGfxDevice& d, H h) { d.LockBuffer(h); };
template <class H>
concept DrawsLayout = requires(nGfxDevice& d, H h) { d.DrawPrimitives(h, nGfxPrimitive::TriangleList, 0, 1); };
template <class H>
concept BindsTexture = requires(nGfxDevice& d, H h) { d.BindTexture(0, h, false, nGfxSamplerHandle()); };
template <class H>
concept TargetsColor = requires(nGfxDevice& d, H h) { d.SetRenderTarget(h, nGfxDepthSurfaceHandle()); };
template <class H>
concept UsesProgram = requires(nGfxDevice& d, H h) { d.UseProgram(h); };

static_assert(LocksBuffer<nGfxBufferHandle> && !LocksBuffer<nGfxTextureHandle> && !LocksBuffer<nGfxLayoutHandle> &&
              !LocksBuffer<int>);
static_assert(DrawsLayout<nGfxLayoutHandle> && !DrawsLayout<nGfxBufferHandle> && !DrawsLayout<int>);
static_assert(BindsTexture<nGfxTextureHandle> && !BindsTexture<nGfxSamplerHandle> &&
              !BindsTexture<nGfxDepthSurfaceHandle> && !BindsTexture<unsigned int>);
static_assert(TargetsColor<nGfxTextureHandle> && !TargetsColor<nGfxDepthSurfaceHandle>);
static_assert(UsesProgram<nGfxProgramHandle> && !UsesProgram<nGfxSamplerHandle> && !UsesProgram<unsigned int>);

TEST(GfxHandle, TheDefaultIsNoneAndARawIdOtherThanZeroIsAnObject)
{
    struct Case
    {
        int raw;
        bool valid;
    };
    const Case cases[] = {{0, false}, {1, true}, {-1, true}, {4711, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.raw);
        const nGfxBufferHandle h(c.raw);
        EXPECT_EQ(h.GetRaw(), c.raw);
        EXPECT_EQ(h.IsValid(), c.valid);
        EXPECT_EQ(static_cast<bool>(h), c.valid);
        EXPECT_EQ(h == nGfxBufferHandle(), !c.valid);
        EXPECT_EQ(h != nGfxBufferHandle(), c.valid);
    }
    EXPECT_EQ(nGfxTextureHandle().GetRaw(), 0u);
    EXPECT_FALSE(nGfxTextureHandle().IsValid());
}

TEST(GfxHandle, HandlesOfOneKindCompareByTheirIdAndKeyAMap)
{
    EXPECT_TRUE(nGfxTextureHandle(3) == nGfxTextureHandle(3));
    EXPECT_FALSE(nGfxTextureHandle(3) == nGfxTextureHandle(4));
    EXPECT_TRUE(nGfxTextureHandle(3) != nGfxTextureHandle(4));
    std::unordered_map<nGfxTextureHandle, int> byHandle;
    byHandle[nGfxTextureHandle(3)] = 30;
    byHandle[nGfxTextureHandle(4)] = 40;
    byHandle[nGfxTextureHandle(3)] += 1;
    EXPECT_EQ(byHandle.size(), 2u);
    EXPECT_EQ(byHandle.at(nGfxTextureHandle(3)), 31);
    EXPECT_EQ(byHandle.count(nGfxTextureHandle()), 0u);
}

TEST(GfxHandle, TheNullDeviceRecordsTheRawIdsOfTheHandlesItHandsOut)
{
    nNullDevice dev;
    std::string error;
    nGfxPresentParams p;
    p.width = 64;
    p.height = 64;
    ASSERT_TRUE(dev.Open(nullptr, p, error));
    const nGfxBufferHandle vb = dev.CreateBuffer(nGfxBufferType::Vertex, 48, 0, nGfxPool::Managed);
    const nGfxBufferHandle ib = dev.CreateBuffer(nGfxBufferType::Index16, 6, 0, nGfxPool::Managed);
    const nGfxVertexElement e{nGfxLocCoord, 3, 0};
    const nGfxLayoutHandle layout = dev.CreateVertexLayout(&e, 1, 12, vb, ib);
    ASSERT_TRUE(vb && ib && layout);
    EXPECT_NE(vb, ib);
    dev.calls.clear();
    dev.DrawIndexedTriangles(layout, 0, 3);
    dev.ReleaseVertexLayout(layout);
    dev.DrawIndexedTriangles(layout, 0, 3);
    const std::vector<std::string> want = {
        "Upload " + std::to_string(vb.GetRaw()), "Upload " + std::to_string(ib.GetRaw()),
        "Draw " + std::to_string(layout.GetRaw()) + " 0 3", "ReleaseLayout " + std::to_string(layout.GetRaw()),
        "Draw " + std::to_string(layout.GetRaw()) + " 0 3"};
    EXPECT_EQ(dev.calls, want);
}

}  // namespace
