#ifndef N_SHADERSTATE_H
#define N_SHADERSTATE_H
//------------------------------------------------------------------------------
/**
    @class nShaderState
    @ingroup Gfx2

    The shader parameter vocabulary the whole engine shares: the parameter
    names effects are matched by, and the value types.
*/
class nShaderState
{
public:
    enum Type
    {
        Void = 0,
        Bool,
        Int,
        Float,
        Float4,
        Matrix44,
        Texture,
        NumTypes,
        InvalidType = 8,
    };

    enum Param
    {
        Model = 0, InvModel, View, InvView, Projection, ModelView, InvModelView, ModelViewProjection,
        ModelLightProjection, ModelShadowProjection, EyePos, ModelEyePos, ModelLightPos, LightPos, LightPos4,
        MatAmbient, MatDiffuse, MatSpecular, MatSpecularPower, MatTransparency, MatFresnel, Scale, Noise,
        MatTranslucency, AlphaRef, CullMode, DirAmbient, FogDistances, FogNearBottomColor, FogNearTopColor,
        FogFarBottomColor, FogFarTopColor, LightAmbient, LightDiffuse, LightSpecular, LightAmbient1,
        LightDiffuse1, LightSpecular1, DiffMap0, DiffMap1, DiffMap2, DiffMap3, SpecMap0, SpecMap1, SpecMap2,
        SpecMap3, AmbientMap0, AmbientMap1, AmbientMap2, AmbientMap3, BumpMap0, BumpMap1, BumpMap2, BumpMap3,
        CubeMap0, CubeMap1, CubeMap2, CubeMap3, NoiseMap0, NoiseMap1, NoiseMap2, NoiseMap3, LightModMap,
        ShadowMap, SpecularMap, ShadowModMap, JointPalette, Time, Wind, Swing, InnerLightIntensity,
        OuterLightIntensity, BoxMinPos, BoxMaxPos, BoxCenter, MinDist, MaxDist, SpriteSize, MinSpriteSize,
        MaxSpriteSize, SpriteSwingAngle, SpriteSwingTime, SpriteSwingTranslate, DisplayResolution, TexGenS,
        TexGenT, TexGenR, TexGenQ, TextureTransform0, TextureTransform1, TextureTransform2, TextureTransform3,
        SampleOffsets, SampleWeights, VertexStreams, VertexWeights1, VertexWeights2, AlphaSrcBlend,
        AlphaDstBlend, BumpScale, FresnelBias, FresnelPower, Intensity0, Intensity1, Intensity2, Intensity3,
        Amplitude, Frequency, Velocity, StencilFrontZFailOp, StencilFrontPassOp, StencilBackZFailOp,
        StencilBackPassOp,
        NumParameters,
        InvalidParameter = 114,
    };

    /// the name of a type ("f4" ...); asserts a valid type
    static const char* TypeToString(Type t);
    /// the type of a name; InvalidType for unknown names
    static Type StringToType(const char* str);
    /// the name of a parameter; asserts a valid parameter
    static const char* ParamToString(Param p);
    /// the parameter of a name (case-sensitive); InvalidParameter for unknown names
    static Param StringToParam(const char* str);
};
#endif
