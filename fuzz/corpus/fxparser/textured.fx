#include "self.fx"
shared float4x4 ModelViewProjection;
float4 MatDiffuse = {1,1,1,1};  float AlphaRef = 0.5;  int CullMode = 2;
float4x4 Model < bool Instance = true; >;
float4x4 JointPalette[72];
texture DiffMap0;
sampler2D DiffSampler = sampler_state { Texture = <DiffMap0>; AddressU = Wrap; MinFilter = Linear; };
vertex vs { out vec2 uv; void main() { gl_Position = ModelViewProjection * nPosition; uv = nUv0; } }
fragment ps { in vec2 uv; void main() { nFragColor = texture(DiffSampler, uv) * MatDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = <CullMode>;
    ZWriteEnable = true; AlphaTestEnable = true; AlphaFunc = GreaterEqual; AlphaRef = <AlphaRef>;
    StencilEnable = true; TwoSidedStencilMode = true; CCW_StencilPass = Decr; DepthBias = -0.001; } }
