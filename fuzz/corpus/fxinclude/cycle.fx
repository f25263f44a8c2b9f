#include "f1.fx"
vertex v { void main() {} } fragment p { void main() {} } technique t { pass p0 { VertexShader = v; PixelShader = p; } }

----
#include "f0.fx"
