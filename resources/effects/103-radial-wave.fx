// Effect 103: radial waves. Circles run out from (or into) "center": d = (t - center) x
// bg_scale_factor, r = length (d); s = sin (frequency x r + time); a = mask alpha x amplitude;
// colour = Background (t + (a x s, a x s)); alpha = 1 where a > 0, else a. "Main" blends that
// over the picture by its alpha (outside the mask nothing changes); "MainFX" writes it over the
// whole quad, which outside the mask is the background unmoved.

texture Background;   // the picture, or the scene drawn so far
texture Mask;         // the brush's mask: only its alpha is read
float2 bg_scale_factor;
float2 center;
float frequency;
float amplitude;
float time;

sampler BackGroundSampler = sampler_state {
    Texture = <Background>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = MIRROR; AddressV = MIRROR;
};

sampler MaskSampler = sampler_state {
    Texture = <Mask>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = MIRROR; AddressV = MIRROR;
};

pixelshader RadialWavePS(bg_scale_factor : c0, center : c1, frequency : c2, amplitude : c3, time : c4,
                         BackGroundSampler : s0, MaskSampler : s1)
asm {
    ps_2_0
    def c5, 0.15915494, 0.5, 6.2831853, -3.1415927          // 1 / 2 pi, 1/2, 2 pi, -pi
    def c6, -0.0000015500992, -0.000021701389, 0.0026041667, 0.00026041668
    def c7, -0.020833334, -0.125, 1.0, 0.5
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s1                // m
    mul r1.x, r0.w, c3.x            // a
    add r2.xy, t0, -c1
    mul r2.xy, r2, c0               // d
    mul r2.xy, r2, r2
    add r2.x, r2.x, r2.y            // r squared
    rsq r2.y, r2.x                  // infinite at the centre ...
    rcp r2.z, r2.y                  // ... so r is 0 there
    mad r2.x, r2.z, c2.x, c4.x      // the sine's angle
    mad r2.x, r2.x, c5.x, c5.y      // reduced to -pi..pi for sincos
    frc r2.x, r2.x
    mad r2.x, r2.x, c5.z, c5.w
    sincos r3.y, r2.x, c6, c7       // s
    mul r3.x, r3.y, r1.x            // s x a
    add r4.xy, t0, r3.x             // uv
    texld r5, r4, s0
    cmp r5.w, -r1.x, r1.x, c7.z     // 1 where a > 0, else a
    mov oC0, r5
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = RadialWavePS;
    }
}

technique MainFX {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = RadialWavePS;
    }
}
