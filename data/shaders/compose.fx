// The final pass: the scene target copied to the back buffer one texel per
// pixel by the full-screen quad (drawn with identity transforms).
shared float4x4 ModelViewProjection;
texture DiffMap0;
sampler2D SceneSampler = sampler_state { Texture = <DiffMap0>; AddressU = Clamp; AddressV = Clamp; MinFilter = Point; MagFilter = Point; MipFilter = None; };

vertex composeVs
{
    out vec2 uv;
    void main()
    {
        gl_Position = ModelViewProjection * nPosition;
        uv = nUv0;
    }
}

fragment composePs
{
    in vec2 uv;
    void main()
    {
        nFragColor = texture(SceneSampler, uv);
    }
}

technique tCompose
{
    pass p0
    {
        VertexShader = composeVs;
        PixelShader = composePs;
        ZEnable = false;
        ZWriteEnable = false;
        CullMode = None;
        AlphaBlendEnable = false;
    }
}
