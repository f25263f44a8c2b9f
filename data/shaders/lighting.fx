// The one-light diffuse model the scene effects share: the frame's first
// light (its position and colours are shared parameters the graphics
// server sets) and the material colour.
shared float4x4 Model;
shared float4x4 ModelViewProjection;
shared float3 LightPos;
shared float4 LightDiffuse;
shared float4 LightAmbient;
float4 MatDiffuse = {1.0, 1.0, 1.0, 1.0};
float4 MatAmbient = {0.0, 0.0, 0.0, 1.0};
int CullMode = 2;
