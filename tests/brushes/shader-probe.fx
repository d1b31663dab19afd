// Shader probe: the ps_2_0 instructions the brush effects rely on, each written into a colour
// channel so that a test can read the render target back and compare against the CPU.
// Every technique runs over a 16 x 1 target; t is the pixel's texture coordinate u.

texture Lookup;    // 16 x 1: red of texel i = the u to read Values at
texture Values;    // 16 x 1: distinct colours

sampler LookupSampler = sampler_state {
    Texture = <Lookup>;
    MinFilter = POINT; MagFilter = POINT; MipFilter = NONE;
    AddressU = CLAMP; AddressV = CLAMP;
};

sampler ValuesSampler = sampler_state {
    Texture = <Values>;
    MinFilter = POINT; MagFilter = POINT; MipFilter = NONE;
    AddressU = CLAMP; AddressV = CLAMP;
};

// (cos a x 0.5 + 0.5, sin a x 0.5 + 0.5, frc (3.7 t), pow (t, 2.5)) for a = 2 pi t - pi.
pixelshader TrigPS()
asm {
    ps_2_0
    def c0, 6.2831853, -3.1415927, 0.5, 3.7
    def c1, -0.0000015500992, -0.000021701389, 0.0026041667, 0.00026041668
    def c2, -0.020833334, -0.125, 1.0, 0.5
    def c3, 2.5, 0.0, 0.0, 1.0
    dcl t0.xy
    mad r0.x, t0.x, c0.x, c0.y          // a
    sincos r1.xy, r0.x, c1, c2          // (cos a, sin a)
    mad r2.xy, r1, c0.z, c0.z
    mul r3.x, t0.x, c0.w
    frc r4.x, r3.x
    mov r2.z, r4.x
    pow r5.x, t0.x, c3.x
    mov r2.w, r5.x
    mov oC0, r2
}

// (nrm (t, 1 - t, 0.5) x 0.5 + 0.5 in x and y, rsq (t + 0.25) x 0.5, rcp (t + 1)).
pixelshader VectorPS()
asm {
    ps_2_0
    def c0, 1.0, 0.5, 0.25, 0.0
    dcl t0.xy
    mov r0.x, t0.x
    add r0.y, c0.x, -t0.x
    mov r0.z, c0.y
    nrm r1.xyz, r0
    mad r2.xy, r1, c0.y, c0.y
    add r3.x, t0.x, c0.z
    rsq r4.x, r3.x
    mul r2.z, r4.x, c0.y
    add r5.x, t0.x, c0.x
    rcp r6.x, r5.x
    mov r2.w, r6.x
    mov oC0, r2
}

// (cmp (t - 0.5, 1, 0), dp2add ((t, 1 - t), (0.3, 0.6), 0.1), length as rcp (rsq (x)) of
// x = (t - 0.5)^2 / 0.25, the alpha rule: 1 where a = max (t - 0.5, 0) > 0, else a).
pixelshader SelectPS()
asm {
    ps_2_0
    def c0, 1.0, 0.0, 0.5, 4.0
    def c1, 0.3, 0.6, 0.1, 0.0
    dcl t0.xy
    add r0.x, t0.x, -c0.z               // t - 0.5
    cmp r1.x, r0.x, c0.x, c0.y
    mov r2.x, t0.x
    add r2.y, c0.x, -t0.x
    dp2add r1.y, r2, c1, c1.z
    mul r3.x, r0.x, r0.x
    mul r3.x, r3.x, c0.w
    rsq r4.x, r3.x
    rcp r1.z, r4.x
    max r5.x, r0.x, c0.y                // a
    cmp r1.w, -r5.x, r5.x, c0.x
    mov oC0, r1
}

// A dependent read: Values at (Lookup (t).r, 0.5).
pixelshader DependentPS(LookupSampler : s0, ValuesSampler : s1)
asm {
    ps_2_0
    def c0, 0.5, 0.0, 0.0, 0.0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s0
    mov r1.x, r0.x
    mov r1.y, c0.x
    texld r2, r1, s1
    mov oC0, r2
}

technique Trig { pass P0 { CullMode = NONE; AlphaBlendEnable = FALSE; PixelShader = TrigPS; } }
technique Vector { pass P0 { CullMode = NONE; AlphaBlendEnable = FALSE; PixelShader = VectorPS; } }
technique Select { pass P0 { CullMode = NONE; AlphaBlendEnable = FALSE; PixelShader = SelectPS; } }
technique Dependent { pass P0 { CullMode = NONE; AlphaBlendEnable = FALSE; PixelShader = DependentPS; } }
