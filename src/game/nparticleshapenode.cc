//------------------------------------------------------------------------------
//  nparticleshapenode.cc
//------------------------------------------------------------------------------
#include "game/nparticleshapenode.h"
#include "gfx2/ngfxserver2.h"
#include "scene/nrendercontext.h"
#include "variable/nvariableserver.h"

#include <algorithm>
#include <cmath>

nParticleShapeNode::nParticleShapeNode() :
    loop(true),
    emissionDuration(0.0f)
{
}

void nParticleShapeNode::SetCurve(int type, const Curve& c)
{
    n_assert(type >= 0 && type < NumCurves);
    this->curves[type] = c;
}

const nParticleShapeNode::Curve& nParticleShapeNode::GetCurve(int type) const
{
    n_assert(type >= 0 && type < NumCurves);
    return this->curves[type];
}

float nParticleShapeNode::GetCurveMax(int type) const
{
    const Curve& c = this->GetCurve(type);
    return *std::max_element(c.keys, c.keys + 4) + c.amplitude;
}

/*
 * EvalCurve --
 *     Results: the curve at x (clamped to 0..1): linear between the keys
 *     at 0, 1/3, 2/3 and 1, plus amplitude x sin(2 pi x).
 */
float nParticleShapeNode::EvalCurve(int type, float x) const
{
    const Curve& c = this->GetCurve(type);
    x = std::clamp(x, 0.0f, 1.0f);
    const float f = x * 3.0f;
    const int i = std::min(int(f), 2);
    const float base = c.keys[i] + (c.keys[i + 1] - c.keys[i]) * (f - float(i));
    return base + c.amplitude * std::sin(2.0f * 3.14159265f * x);
}

namespace
{

/// a number in 0..1 of a particle's index and a salt, the same every frame
float Hash01(int n, int salt)
{
    unsigned int h = (unsigned int)n * 2654435761u ^ (unsigned int)salt * 40503u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return float(h & 0xFFFFFF) / float(0xFFFFFF);
}

}  // namespace

/*
 * ComputeParticles --
 *     Side effects: 'out' holds the particles alive 'time' seconds after
 *     the emission began (a looping emission starts again after each
 *     duration); births are summed from the rate curve in steps of 1/60 s.
 */
void nParticleShapeNode::ComputeParticles(float time, std::vector<Particle>& out) const
{
    out.clear();
    const float duration = std::max(this->emissionDuration, 1.0f / 60.0f);
    if (!std::isfinite(time) || time < 0.0f) return;
    if (this->loop) time = std::fmod(time, duration);
    const float step = 1.0f / 60.0f;
    float births = 0.0f;
    int n = 0;
    for (float birth = 0.0f; birth < std::min(time, duration) && n < MaxParticles; birth += step)
    {
        const float e = birth / duration;
        births += std::max(this->EvalCurve(EmissionRate, e), 0.0f) * step;
        for (; n < int(births) && n < MaxParticles; n++)
        {
            const float life = this->EvalCurve(ParticleLifetime, e);
            const float age = time - birth;
            if (life <= 0.0f || age >= life) continue;
            const float rel = age / life;
            const float angle = this->EvalCurve(Spread, e) * Hash01(n, 1);
            const float around = 2.0f * 3.14159265f * Hash01(n, 2);
            const vector3 dir(std::sin(angle) * std::cos(around), std::cos(angle), std::sin(angle) * std::sin(around));
            const float speed = this->EvalCurve(StartSpeed, e);
            Particle p;
            p.pos = dir * (speed * age) - vector3(0.0f, 0.5f * this->EvalCurve(Gravity, e) * age * age, 0.0f);
            p.size = std::max(this->EvalCurve(ParticleSize, rel), 0.0f);
            p.color = vector4(this->EvalCurve(ParticleRed, rel), this->EvalCurve(ParticleGreen, rel),
                              this->EvalCurve(ParticleBlue, rel), this->EvalCurve(ParticleAlpha, rel));
            out.push_back(p);
        }
    }
}

bool nParticleShapeNode::LoadResources()
{
    return nMaterialNode::LoadResources();
}

bool nParticleShapeNode::ApplyGeometry(nSceneServer* /*sceneServer*/)
{
    return true;
}

/*
 * RenderGeometry --
 *     Results: true.
 *     Side effects: the particles of the context's "time" are written as
 *     quads facing the camera into the dynamic mesh and drawn at once
 *     (inside the pass the scene server began).
 */
bool nParticleShapeNode::RenderGeometry(nSceneServer* /*sceneServer*/, nRenderContext* renderContext)
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx || !renderContext) return false;
    const int timeVar = nVariableServer::Instance()->FindVariableHandleByName("time");
    const nVariable* t = renderContext->GetVariable(timeVar);
    this->ComputeParticles(t ? t->GetFloat() : 0.0f, this->particles);
    if (this->particles.empty()) return true;
    if (!this->dynMesh.IsValid() &&
        !this->dynMesh.Initialize(nGfxServer2::TriangleList, nMesh2::Coord | nMesh2::Color | nMesh2::Uv0, 0, true))
    {
        return false;
    }
    // the camera's right and up in the node's space
    const matrix44& inv = gfx->GetTransform(nGfxServer2::InvModelView);
    const vector3 right(inv.m[0][0], inv.m[0][1], inv.m[0][2]);
    const vector3 up(inv.m[1][0], inv.m[1][1], inv.m[1][2]);
    float* v = nullptr;
    ushort* ix = nullptr;
    int maxV = 0, maxI = 0, nv = 0, ni = 0;
    this->dynMesh.BeginIndexed(v, ix, maxV, maxI);
    for (const Particle& p : this->particles)
    {
        if (nv + 4 > maxV || ni + 6 > maxI) break;
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& c : corners)
        {
            const vector3 pos = p.pos + right * (c[0] * p.size) + up * (c[1] * p.size);
            // components lie in bit order: coord, uv0, colour
            for (float f : {pos.x, pos.y, pos.z, 0.5f + 0.5f * c[0], 0.5f - 0.5f * c[1], p.color.x, p.color.y,
                            p.color.z, p.color.w})
            {
                *v++ = f;
            }
        }
        for (int i : {0, 1, 2, 0, 2, 3}) *ix++ = (ushort)(nv + i);
        nv += 4;
        ni += 6;
    }
    this->dynMesh.EndIndexed(nv, ni);
    return true;
}
