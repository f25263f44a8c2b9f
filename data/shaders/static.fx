// Lit geometry in its material colour.
#include "lighting.fx"

vertex staticVs
{
    out vec4 lit;
    void main()
    {
        gl_Position = ModelViewProjection * nPosition;
        vec3 worldPos = (Model * nPosition).xyz;
        vec3 n = normalize(mat3(Model) * nNormal);
        float d = max(dot(n, normalize(LightPos - worldPos)), 0.0);
        lit = vec4(MatDiffuse.rgb * (LightAmbient.rgb + MatAmbient.rgb + LightDiffuse.rgb * d), MatDiffuse.a);
    }
}

fragment staticPs
{
    in vec4 lit;
    void main()
    {
        nFragColor = lit;
    }
}

technique t0
{
    pass p0
    {
        VertexShader = staticVs;
        PixelShader = staticPs;
        CullMode = <CullMode>;
    }
}
