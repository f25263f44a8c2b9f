#ifndef N_PARTICLESHAPENODE_H
#define N_PARTICLESHAPENODE_H
//------------------------------------------------------------------------------
/**
    @class nParticleShapeNode
    @ingroup Game

    The particle description an effect runs: whether the emission loops,
    how long it emits, and envelope curves indexed by curve type (0 to
    10), each four key values and an amplitude.

    It is an emitter whose particles follow from the render context's
    "time" alone, so that one node serves any number of effects without
    state of its own: particle n is born when the emission-rate curve,
    summed over the emission, reaches n; it flies from the node's origin
    in a direction of its own inside a cone about +y, and fades and grows
    by the size and colour curves over its own life. A curve is read at
    a fraction x from 0 to 1: linear between its four keys (at 0, 1/3,
    2/3 and 1) plus amplitude x sin(2 pi x). The rate, lifetime, speed,
    spread and gravity curves are read over the emission duration, the
    size and colour curves over the particle's life. All live particles
    are drawn as camera-facing quads in one draw of a dynamic mesh
    (coord, uv0, colour) through the node's shader.
*/
#include "gfx2/ndynamicmesh.h"
#include "mathlib/vector.h"
#include "scene/nshapenode.h"

#include <vector>

class nParticleShapeNode : public nShapeNode
{
public:
    enum
    {
        NumCurves = 11
    };
    /// what each curve drives
    enum CurveType
    {
        EmissionRate = 0,    // particles a second
        ParticleLifetime = 1,  // seconds
        ParticleSize = 2,    // half the quad's side
        ParticleRed = 3,
        ParticleGreen = 4,
        ParticleBlue = 5,
        ParticleAlpha = 6,
        StartSpeed = 7,      // units a second
        Spread = 8,          // the cone's half angle, radians
        Gravity = 9,         // units a second squared, down
        // 10 is not read
    };
    /// the most particles one emission makes
    enum { MaxParticles = 2000 };
    /// one live particle at a moment
    struct Particle
    {
        vector3 pos;
        float size;
        vector4 color;
    };
    /// four key values and the amplitude of a curve
    struct Curve
    {
        float keys[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        float amplitude = 0.0f;
    };

    nParticleShapeNode();
    bool SaveCmds(nPersistServer* ps) override;
    void SetLoop(bool b) { this->loop = b; }
    bool GetLoop() const { return this->loop; }
    void SetEmissionDuration(float d) { this->emissionDuration = d; }
    float GetEmissionDuration() const { return this->emissionDuration; }
    /// the curve of the type (asserted in range)
    void SetCurve(int type, const Curve& c);
    const Curve& GetCurve(int type) const;
    /// the largest value the curve can take: its largest key plus its amplitude
    float GetCurveMax(int type) const;
    /// the curve's value at the fraction x (0..1)
    float EvalCurve(int type, float x) const;
    /// the particles alive at the time since the emission began, in the node's space
    void ComputeParticles(float time, std::vector<Particle>& out) const;

    /// no mesh to load: the shaders and textures only
    bool LoadResources() override;
    /// nothing to bind: the particles make their own mesh
    bool ApplyGeometry(nSceneServer* sceneServer) override;
    /// the live particles of the context's time, in one draw
    bool RenderGeometry(nSceneServer* sceneServer, nRenderContext* renderContext) override;

protected:
    ~nParticleShapeNode() override = default;

    bool loop;
    float emissionDuration;
    Curve curves[NumCurves];

private:
    nDynamicMesh dynMesh;
    /// kept between frames so that drawing allocates nothing
    std::vector<Particle> particles;
};
#endif
