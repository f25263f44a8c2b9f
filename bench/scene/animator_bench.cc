//------------------------------------------------------------------------------
//  Sampling a transform animator's position and quaternion keys (10,000
//  of each) at one time per key interval, beside a raw loop that lerps and
//  slerps the same key pairs directly, with no time wrapping, clamping or
//  key search, and beside the same raw loop when it searches the pair with
//  std::upper_bound (the animator's work minus its checks).
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "scene/nipolkeyarray.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

const int NumKeys = 10000;
const float KeySpan = 0.04f;

/// the same keys as an animator holds them and as plain arrays
struct Keys
{
    Keys()
    {
        for (int i = 0; i < NumKeys; i++)
        {
            const float t = KeySpan * float(i);
            const vector3 p(float(i), 0.5f * float(i), -float(i));
            const float a = 0.01f * float(i);
            const quaternion q(0.0f, sinf(a), 0.0f, cosf(a));
            pos.AddKey(t, p);
            quat.AddKey(t, q);
            times.push_back(t);
            rawPos.push_back(p);
            rawQuat.push_back(q);
        }
        // one time inside each key interval
        for (int i = 0; i < NumKeys - 1; i++) sampleTimes.push_back(KeySpan * (float(i) + 0.3f));
    }
    nIpolKeyArray<vector3> pos;
    nIpolKeyArray<quaternion> quat;
    std::vector<float> times;
    std::vector<vector3> rawPos;
    std::vector<quaternion> rawQuat;
    std::vector<float> sampleTimes;
};

const Keys& TheKeys()
{
    static const Keys keys;
    return keys;
}

/// the plain slerp on the shorter arc
quaternion Slerp(const quaternion& q0, const quaternion& q1, float f)
{
    quaternion a = q0;
    float c = a.x * q1.x + a.y * q1.y + a.z * q1.z + a.w * q1.w;
    if (c < 0.0f)
    {
        c = -c;
        a = quaternion(-a.x, -a.y, -a.z, -a.w);
    }
    float w0 = 1.0f - f;
    float w1 = f;
    if ((1.0f - c) >= 0.05f)
    {
        const float omega = acosf(c);
        const float s = sinf(omega);
        w0 = sinf((1.0f - f) * omega) / s;
        w1 = sinf(f * omega) / s;
    }
    return quaternion(w0 * a.x + w1 * q1.x, w0 * a.y + w1 * q1.y, w0 * a.z + w1 * q1.z, w0 * a.w + w1 * q1.w);
}

void BM_AnimatorKeys(benchmark::State& state)
{
    const Keys& k = TheKeys();
    bool warned = false;
    for (auto _ : state)
    {
        for (const float t : k.sampleTimes)
        {
            vector3 p;
            quaternion q;
            k.pos.Sample(t, nAnimator::Loop, p, warned);
            k.quat.Sample(t, nAnimator::Loop, q, warned);
            benchmark::DoNotOptimize(p);
            benchmark::DoNotOptimize(q);
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(k.sampleTimes.size()));
}
BENCHMARK(BM_AnimatorKeys);

void BM_RawLerpSlerp(benchmark::State& state)
{
    const Keys& k = TheKeys();
    for (auto _ : state)
    {
        for (size_t i = 0; i < k.sampleTimes.size(); i++)
        {
            const float f = (k.sampleTimes[i] - k.times[i]) / (k.times[i + 1] - k.times[i]);
            const vector3 p = k.rawPos[i] + (k.rawPos[i + 1] - k.rawPos[i]) * f;
            const quaternion q = Slerp(k.rawQuat[i], k.rawQuat[i + 1], f);
            benchmark::DoNotOptimize(p);
            benchmark::DoNotOptimize(q);
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(k.sampleTimes.size()));
}
BENCHMARK(BM_RawLerpSlerp);

/// the raw loop when it, too, has to find the key pair of a time
void BM_RawSearchLerpSlerp(benchmark::State& state)
{
    const Keys& k = TheKeys();
    for (auto _ : state)
    {
        for (const float t : k.sampleTimes)
        {
            const size_t i = size_t(std::upper_bound(k.times.begin() + 1, k.times.end() - 1, t) - k.times.begin()) - 1;
            const float f = (t - k.times[i]) / (k.times[i + 1] - k.times[i]);
            const vector3 p = k.rawPos[i] + (k.rawPos[i + 1] - k.rawPos[i]) * f;
            const quaternion q = Slerp(k.rawQuat[i], k.rawQuat[i + 1], f);
            benchmark::DoNotOptimize(p);
            benchmark::DoNotOptimize(q);
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(k.sampleTimes.size()));
}
BENCHMARK(BM_RawSearchLerpSlerp);

}  // namespace

BENCHMARK_MAIN();
