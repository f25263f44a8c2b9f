#include "f1.fx"
vertex v { void main() {} } fragment p { void main() {} } technique t { pass p0 { VertexShader = v; PixelShader = p; } }

----
#include "f2.fx"
#include "f2.fx"
#include "f2.fx"
#include "f2.fx"
#include "f2.fx"
#include "f2.fx"
#include "f2.fx"
#include "f2.fx"

----
#include "f3.fx"
#include "f3.fx"
#include "f3.fx"
#include "f3.fx"
#include "f3.fx"
#include "f3.fx"
#include "f3.fx"
#include "f3.fx"

----
#include "f4.fx"
#include "f4.fx"
#include "f4.fx"
#include "f4.fx"
#include "f4.fx"
#include "f4.fx"
#include "f4.fx"
#include "f4.fx"

----
#include "f5.fx"
#include "f5.fx"
#include "f5.fx"
#include "f5.fx"
#include "f5.fx"
#include "f5.fx"
#include "f5.fx"
#include "f5.fx"

----
#include "f6.fx"
#include "f6.fx"
#include "f6.fx"
#include "f6.fx"
#include "f6.fx"
#include "f6.fx"
#include "f6.fx"
#include "f6.fx"

----
#include "f7.fx"
#include "f7.fx"
#include "f7.fx"
#include "f7.fx"
#include "f7.fx"
#include "f7.fx"
#include "f7.fx"
#include "f7.fx"

----
float x;
