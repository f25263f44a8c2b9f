#ifndef N_FXEFFECT_H
#define N_FXEFFECT_H
//------------------------------------------------------------------------------
/**
    @class nFxEffect
    @ingroup Gfx2

    What an effect file holds once parsed: parameters with their types,
    defaults and annotations, samplers, named GLSL blocks and techniques
    whose passes name their programs and assign render states. Plain CPU
    data; nFxParser fills it, nD3D9Shader turns it into GL programs.
*/
#include "gfx2/nshaderstate.h"

#include <string>
#include <vector>

class nFxEffect
{
public:
    /// the declared type of a parameter
    enum Kind
    {
        KBool,
        KInt,
        KFloat,
        KFloat2,
        KFloat3,
        KFloat4,
        KFloat4x4,
        KTexture,
    };

    struct Annotation
    {
        std::string type;
        std::string name;
        /// the value as written (strings without their quotes)
        std::string value;
    };

    struct Param
    {
        std::string name;
        Kind kind = KFloat;
        /// 0 for a single value
        int arraySize = 0;
        bool shared = false;
        /// the default, as many numbers as were written (bools as 0 and 1)
        std::vector<float> defaults;
        std::vector<Annotation> annotations;
        int file = 0;
        int line = 0;
    };

    struct Sampler
    {
        std::string name;
        /// the GLSL sampler type: "sampler2D", "samplerCube" or "sampler3D"
        std::string glslType;
        /// the texture parameter it samples, empty when none is named
        std::string texture;
        /// address modes and filters by their Direct3D 9 numbers
        int addressU = 1, addressV = 1, addressW = 1;
        int minFilter = 1, magFilter = 1, mipFilter = 0;
    };

    struct Program
    {
        std::string name;
        bool vertex = true;
        std::string source;
        int file = 0;
        int line = 0;
    };

    /// one render state assignment of a pass
    struct StateAssign
    {
        int state = 0;
        /// the constant value, or the index of the parameter it reads
        unsigned int value = 0;
        int paramIndex = -1;
    };

    struct Pass
    {
        std::string name;
        int vertexProgram = -1;
        int fragmentProgram = -1;
        std::vector<StateAssign> states;
    };

    struct Technique
    {
        std::string name;
        std::vector<Pass> passes;
    };

    /// the number of floats (or ints) one element of a kind holds
    static int Components(Kind k);
    /// the engine's value type of a kind (float2 and float3 are Float4)
    static nShaderState::Type ShaderType(Kind k);
    /// the GLSL type of a kind
    static const char* GlslType(Kind k);
    /// the index of a parameter, -1 when none has the name
    int FindParam(const std::string& name) const;
    /// the index of a program, -1 when none has the name
    int FindProgram(const std::string& name) const;
    /// the whole source of one pass's program: prelude, block and epilogue
    std::string ProgramSource(const Program& prog) const;

    /// the files read, index 0 being the effect file itself; the index
    /// one past them stands for the generated code in program sources
    std::vector<std::string> files;
    std::vector<Param> params;
    std::vector<Sampler> samplers;
    std::vector<Program> programs;
    std::vector<Technique> techniques;
};
#endif
