// Particles: quads in their vertex colour, a soft round spot, blended over
// the scene by the alpha phase, never writing depth.
shared float4x4 ModelViewProjection;

vertex particleVs
{
    out vec4 c;
    out vec2 uv;
    void main()
    {
        gl_Position = ModelViewProjection * nPosition;
        c = nColor;
        uv = nUv0;
    }
}

fragment particlePs
{
    in vec4 c;
    in vec2 uv;
    void main()
    {
        float d = length(uv - vec2(0.5)) * 2.0;
        nFragColor = vec4(c.rgb, c.a * clamp(1.0 - d, 0.0, 1.0));
    }
}

technique t0
{
    pass p0
    {
        VertexShader = particleVs;
        PixelShader = particlePs;
        CullMode = None;
        ZWriteEnable = false;
    }
}
