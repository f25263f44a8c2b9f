#ifndef N_PARTICLESHAPENODE_H
#define N_PARTICLESHAPENODE_H
//------------------------------------------------------------------------------
/**
    @class nParticleShapeNode
    @ingroup Game

    The particle description an effect runs: whether the emission loops,
    how long it emits, and envelope curves indexed by curve type (0 to
    10), each four key values and an amplitude. It draws like the shape
    node it is; the curves only tell an effect how long it lives.
*/
#include "scene/nshapenode.h"

class nParticleShapeNode : public nShapeNode
{
public:
    enum
    {
        NumCurves = 11
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

protected:
    ~nParticleShapeNode() override = default;

    bool loop;
    float emissionDuration;
    Curve curves[NumCurves];
};
#endif
