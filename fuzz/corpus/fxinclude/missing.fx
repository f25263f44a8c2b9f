#include "nowhere.fx"
vertex v { void main() {} } fragment p { void main() {} } technique t { pass p0 { VertexShader = v; PixelShader = p; } }
