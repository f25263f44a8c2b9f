// Text: glyph quads from a font's atlas, placed in clip space by the
// server, with the texel corners of their glyphs and their colour. The
// atlas is white with the glyph's coverage as alpha.
texture DiffMap0;
sampler2D GlyphSampler = sampler_state
{
    Texture = <DiffMap0>;
    AddressU = Clamp;
    AddressV = Clamp;
    MinFilter = Point;
    MagFilter = Point;
    MipFilter = None;
};

vertex textVs
{
    out vec2 texel;
    out vec4 color;
    void main()
    {
        gl_Position = vec4(nPosition.xy, 0.0, 1.0);
        texel = nUv0;
        color = nColor;
    }
}

fragment textPs
{
    in vec2 texel;
    in vec4 color;
    void main()
    {
        vec2 uv = texel / vec2(textureSize(GlyphSampler, 0));
        nFragColor = vec4(color.rgb, color.a * texture(GlyphSampler, uv).a);
    }
}

technique t0
{
    pass p0
    {
        VertexShader = textVs;
        PixelShader = textPs;
        ZEnable = false;
        ZWriteEnable = false;
        AlphaTestEnable = false;
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = InvSrcAlpha;
        CullMode = None;
    }
}
