// Phase shaders: the opaque phase writes depth without blending, the alpha
// phase blends over it and leaves depth alone.
shared float4x4 ModelViewProjection;

vertex phaseVs
{
    void main()
    {
        gl_Position = ModelViewProjection * nPosition;
    }
}

fragment phasePs
{
    void main()
    {
        nFragColor = vec4(0.0, 0.0, 0.0, 1.0);
    }
}

technique tOpaque
{
    pass p0
    {
        VertexShader = phaseVs;
        PixelShader = phasePs;
        ZWriteEnable = true;
        AlphaBlendEnable = false;
    }
}

technique tAlpha
{
    pass p0
    {
        VertexShader = phaseVs;
        PixelShader = phasePs;
        ZWriteEnable = false;
        AlphaBlendEnable = true;
        SrcBlend = SrcAlpha;
        DestBlend = InvSrcAlpha;
    }
}
