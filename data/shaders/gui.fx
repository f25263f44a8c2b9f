// The GUI: textured quads in one colour over the scene, alpha blended,
// neither depth tested nor written, both faces drawn, one pass.
shared float4x4 ModelViewProjection;
float4 MatDiffuse = {1.0, 1.0, 1.0, 1.0};
texture DiffMap0;
sampler2D DiffSampler = sampler_state
{
    Texture = <DiffMap0>;
    AddressU = Clamp;
    AddressV = Clamp;
    MinFilter = Linear;
    MagFilter = Linear;
};

vertex guiVs
{
    out vec2 uv;
    void main()
    {
        gl_Position = ModelViewProjection * nPosition;
        uv = nUv0;
    }
}

fragment guiPs
{
    in vec2 uv;
    void main()
    {
        nFragColor = texture(DiffSampler, uv) * MatDiffuse;
    }
}

technique t0
{
    pass p0
    {
        VertexShader = guiVs;
        PixelShader = guiPs;
        ZWriteEnable = false;
        ZEnable = false;
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = InvSrcAlpha;
        CullMode = None;
    }
}
