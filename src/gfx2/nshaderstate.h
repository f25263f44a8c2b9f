#ifndef N_SHADERSTATE_H
#define N_SHADERSTATE_H
//------------------------------------------------------------------------------
/**
    @class nShaderState
    @ingroup Gfx2

    The shader parameter vocabulary the whole engine shares: the names of
    the parameters scene nodes, render paths and shaders set, and the
    letters of the value types they carry.
*/
#include "kernel/ntypes.h"

class nShaderState
{
public:
    enum Type
    {
        Void = 0,
        Bool = 1,
        Int = 2,
        Float = 3,
        Float4 = 4,
        Matrix44 = 5,
        Texture = 6,

        NumTypes = 7,
        InvalidType = 8,
    };

    enum Param
    {
        Model = 0,
        InvModel = 1,
        View = 2,
        InvView = 3,
        Projection = 4,
        ModelView = 5,
        InvModelView = 6,
        ModelViewProjection = 7,
        ModelLightProjection = 8,
        ModelShadowProjection = 9,
        EyePos = 10,
        ModelEyePos = 11,
        ModelLightPos = 12,
        LightPos = 13,
        LightPos4 = 14,
        MatAmbient = 15,
        MatDiffuse = 16,
        MatSpecular = 17,
        MatSpecularPower = 18,
        MatTransparency = 19,
        MatFresnel = 20,
        Scale = 21,
        Noise = 22,
        MatTranslucency = 23,
        AlphaRef = 24,
        CullMode = 25,
        DirAmbient = 26,
        FogDistances = 27,
        FogNearBottomColor = 28,
        FogNearTopColor = 29,
        FogFarBottomColor = 30,
        FogFarTopColor = 31,
        LightAmbient = 32,
        LightDiffuse = 33,
        LightSpecular = 34,
        LightAmbient1 = 35,
        LightDiffuse1 = 36,
        LightSpecular1 = 37,
        DiffMap0 = 38,
        DiffMap1 = 39,
        DiffMap2 = 40,
        DiffMap3 = 41,
        SpecMap0 = 42,
        SpecMap1 = 43,
        SpecMap2 = 44,
        SpecMap3 = 45,
        AmbientMap0 = 46,
        AmbientMap1 = 47,
        AmbientMap2 = 48,
        AmbientMap3 = 49,
        BumpMap0 = 50,
        BumpMap1 = 51,
        BumpMap2 = 52,
        BumpMap3 = 53,
        CubeMap0 = 54,
        CubeMap1 = 55,
        CubeMap2 = 56,
        CubeMap3 = 57,
        NoiseMap0 = 58,
        NoiseMap1 = 59,
        NoiseMap2 = 60,
        NoiseMap3 = 61,
        LightModMap = 62,
        ShadowMap = 63,
        SpecularMap = 64,
        ShadowModMap = 65,
        JointPalette = 66,
        Time = 67,
        Wind = 68,
        Swing = 69,
        InnerLightIntensity = 70,
        OuterLightIntensity = 71,
        BoxMinPos = 72,
        BoxMaxPos = 73,
        BoxCenter = 74,
        MinDist = 75,
        MaxDist = 76,
        SpriteSize = 77,
        MinSpriteSize = 78,
        MaxSpriteSize = 79,
        SpriteSwingAngle = 80,
        SpriteSwingTime = 81,
        SpriteSwingTranslate = 82,
        DisplayResolution = 83,
        TexGenS = 84,
        TexGenT = 85,
        TexGenR = 86,
        TexGenQ = 87,
        TextureTransform0 = 88,
        TextureTransform1 = 89,
        TextureTransform2 = 90,
        TextureTransform3 = 91,
        SampleOffsets = 92,
        SampleWeights = 93,
        VertexStreams = 94,
        VertexWeights1 = 95,
        VertexWeights2 = 96,
        AlphaSrcBlend = 97,
        AlphaDstBlend = 98,
        BumpScale = 99,
        FresnelBias = 100,
        FresnelPower = 101,
        Intensity0 = 102,
        Intensity1 = 103,
        Intensity2 = 104,
        Intensity3 = 105,
        Amplitude = 106,
        Frequency = 107,
        Velocity = 108,
        StencilFrontZFailOp = 109,
        StencilFrontPassOp = 110,
        StencilBackZFailOp = 111,
        StencilBackPassOp = 112,

        NumParameters = 113,
        InvalidParameter = 114,
    };

    /// the letter of a type (asserts a valid type)
    static const char* TypeToString(Type t);
    /// the type of a letter, InvalidType when unknown (asserts a name)
    static Type StringToType(const char* str);
    /// the name of a parameter (asserts a valid parameter)
    static const char* ParamToString(Param p);
    /// the parameter of a name, InvalidParameter when unknown (asserts a name)
    static Param StringToParam(const char* str);
};
#endif
