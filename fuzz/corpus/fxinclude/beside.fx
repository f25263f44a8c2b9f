#include "f1.fx"
vertex v { void main() {} } fragment p { void main() {} } technique t { pass p0 { VertexShader = v; PixelShader = p; } }

----
shared float4x4 Model;
#include "f2.fx"
----
float Time;
