// The server's shapes and lines: geometry in one colour, alpha blended,
// depth tested but not written.
shared float4x4 ModelViewProjection;
float4 MatDiffuse = {1.0, 1.0, 1.0, 1.0};

vertex shapeVs
{
    void main()
    {
        gl_Position = ModelViewProjection * nPosition;
    }
}

fragment shapePs
{
    void main()
    {
        nFragColor = MatDiffuse;
    }
}

technique t0
{
    pass p0
    {
        VertexShader = shapeVs;
        PixelShader = shapePs;
        ZWriteEnable = false;
        ZEnable = true;
        ZFunc = LessEqual;
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = InvSrcAlpha;
        CullMode = None;
    }
}
