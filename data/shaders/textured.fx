// Lit geometry with a diffuse texture modulated by the material colour.
#include "lighting.fx"
texture DiffMap0;
sampler2D DiffSampler = sampler_state { Texture = <DiffMap0>; AddressU = Wrap; AddressV = Wrap; MinFilter = Linear; MagFilter = Linear; MipFilter = Linear; };

vertex texturedVs
{
    out vec4 lit;
    out vec2 uv;
    void main()
    {
        gl_Position = ModelViewProjection * nPosition;
        vec3 worldPos = (Model * nPosition).xyz;
        vec3 n = normalize(mat3(Model) * nNormal);
        float d = max(dot(n, normalize(LightPos - worldPos)), 0.0);
        lit = vec4(MatDiffuse.rgb * (LightAmbient.rgb + MatAmbient.rgb + LightDiffuse.rgb * d), MatDiffuse.a);
        uv = nUv0;
    }
}

fragment texturedPs
{
    in vec4 lit;
    in vec2 uv;
    void main()
    {
        nFragColor = texture(DiffSampler, uv) * lit;
    }
}

technique t0
{
    pass p0
    {
        VertexShader = texturedVs;
        PixelShader = texturedPs;
        CullMode = <CullMode>;
    }
}
