// Particles: quads in their vertex colour, a round spot solid to half its
// radius and soft at the rim, blended over the scene by the alpha phase.
// They neither write nor test depth: a burst where a punch lands starts
// on the struck boxer's head and must show over it, not half inside it.
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
        nFragColor = vec4(c.rgb, c.a * clamp((1.0 - d) * 2.0, 0.0, 1.0));
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
        ZEnable = false;
    }
}
