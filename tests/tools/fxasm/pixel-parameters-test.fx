// A float, a float4 and two textures with different sampler states, read by one pixel shader
// from registers other than the first: out = A x Tint x Gain, plus B in blue.
float Gain = 0.5;
float4 Tint = { 1.0, 0.5, 0.25, 1.0 };
texture TexA;
texture2D TexB;

sampler SampA = sampler_state {
    Texture = <TexA>;
    MinFilter = POINT;
    MagFilter = POINT;
    MipFilter = NONE;
    AddressU = CLAMP;
    AddressV = CLAMP;
};

sampler2D SampB = sampler_state {
    Texture = <TexB>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = NONE;
    AddressU = WRAP;
    AddressV = WRAP;
};

pixelshader ParametersPS(Gain : c2, Tint : c5, SampA : s3, SampB : s1)
asm {
    ps_2_0
    dcl t0.xy
    dcl_2d s1
    dcl_2d s3
    texld r0, t0, s3            // A
    texld r1, t0, s1            // B
    mul r0, r0, c5              // A x Tint
    mul r0, r0, c2.x            // x Gain
    add r0.z, r0.z, r1.z        // + B's blue
    mov oC0, r0
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = ParametersPS;
    }
}
