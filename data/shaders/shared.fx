// The parameters every effect shares through the server's effect pool. The
// server loads this effect so that the shared values exist before any
// other effect does; its one technique draws in a flat colour.
shared float4x4 Model;
shared float4x4 InvModel;
shared float4x4 View;
shared float4x4 InvView;
shared float4x4 Projection;
shared float4x4 ModelView;
shared float4x4 InvModelView;
shared float4x4 ModelViewProjection;
shared float3 EyePos;
shared float3 ModelEyePos;
shared float Time;
shared float4 DisplayResolution;
shared float4x4 ModelLightProjection;
shared float3 LightPos;
shared float3 ModelLightPos;
shared float4 LightDiffuse;
shared float4 LightSpecular;
shared float4 LightAmbient;
shared float4 LightDiffuse1;
shared float4x4 TextureTransform0;
shared float4x4 TextureTransform1;
shared float4x4 TextureTransform2;
shared float4x4 TextureTransform3;

vertex sharedVs
{
    void main()
    {
        gl_Position = ModelViewProjection * nPosition;
    }
}

fragment sharedPs
{
    void main()
    {
        nFragColor = vec4(1.0, 1.0, 1.0, 1.0);
    }
}

technique t0
{
    pass p0
    {
        VertexShader = sharedVs;
        PixelShader = sharedPs;
    }
}
