// Lit, see-through geometry: the material's alpha blends it over the
// opaque scene (the phase sets the blending).
#include "lighting.fx"

vertex alphaVs
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

fragment alphaPs
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
        VertexShader = alphaVs;
        PixelShader = alphaPs;
        CullMode = None;
    }
}
