// Pass shader of the scene pass: the states every scene phase starts from
// (depth test and write on, back faces culled, no blending).
shared float4x4 ModelViewProjection;

vertex passVs
{
    void main()
    {
        gl_Position = ModelViewProjection * nPosition;
    }
}

fragment passPs
{
    void main()
    {
        nFragColor = vec4(0.0, 0.0, 0.0, 1.0);
    }
}

technique tScene
{
    pass p0
    {
        VertexShader = passVs;
        PixelShader = passPs;
        ZEnable = true;
        ZWriteEnable = true;
        ZFunc = LessEqual;
        CullMode = CW;
        AlphaBlendEnable = false;
        ColorWriteEnable = 15;
    }
}
