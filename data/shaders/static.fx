// Lit geometry in its material colour. A vertex follows the joint matrix
// by its first blend weight: a boxer's limbs (weight 1 in their meshes)
// are turned and stretched from their part to the body part they join,
// which the boxer sets on the part's render context every frame. A mesh
// without weights reads the weight 0 and stays as it is, whatever joint
// an earlier draw left set.
#include "lighting.fx"
float4x4 JointPalette = {1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0};

vertex staticVs
{
    out vec4 lit;
    void main()
    {
        vec4 posed = mix(nPosition, JointPalette * nPosition, nWeights.x);
        gl_Position = ModelViewProjection * posed;
        vec3 worldPos = (Model * posed).xyz;
        vec3 n = normalize(mat3(Model) * mix(nNormal, mat3(JointPalette) * nNormal, nWeights.x));
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
