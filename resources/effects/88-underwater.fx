// Effect 88: underwater. The whole picture wobbles as if seen through water: each lookup is pushed
// sideways by a sine running down the picture and up or down by one running across it, the two
// at different paces:
//   uv.x = t.x + amplitude x sin (frequency.y x t.y + time)
//   uv.y = t.y + amplitude x sin (frequency.x x t.x + 1.3 x time)
// colour = Background (uv), alpha 1. The underwater layer draws it over a back buffer it did not
// clear and gives it no mask, so the output is opaque in both techniques and never reads "Mask";
// "Mask" and "Scale" are declared for the brush base, which sets them on every brush effect.

texture Background;   // the finished scene
texture Mask;         // not read
float2 Scale;         // not read
float2 frequency;     // (f x W / H, f): waves across, waves down
float amplitude;
float time;

sampler BackGroundSampler = sampler_state {
    Texture = <Background>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = MIRROR; AddressV = MIRROR;
};

pixelshader UnderwaterPS(frequency : c0, amplitude : c1, time : c2, BackGroundSampler : s0)
asm {
    ps_2_0
    def c5, 0.15915494, 0.5, 6.2831853, -3.1415927          // 1 / 2 pi, 1/2, 2 pi, -pi
    def c6, -0.0000015500992, -0.000021701389, 0.0026041667, 0.00026041668
    def c7, -0.020833334, -0.125, 1.0, 0.5
    def c8, 1.3, 0.0, 0.0, 0.0
    dcl t0.xy
    dcl_2d s0
    mad r0.x, t0.y, c0.y, c2.x      // the sideways sine's angle
    mad r0.x, r0.x, c5.x, c5.y      // reduced to -pi..pi for sincos
    frc r0.x, r0.x
    mad r0.x, r0.x, c5.z, c5.w
    sincos r1.y, r0.x, c6, c7
    mul r2.x, c2.x, c8.x            // 1.3 x time
    mad r2.x, t0.x, c0.x, r2.x      // the up-and-down sine's angle
    mad r2.x, r2.x, c5.x, c5.y
    frc r2.x, r2.x
    mad r2.x, r2.x, c5.z, c5.w
    sincos r3.y, r2.x, c6, c7
    mov r4.x, r1.y
    mov r4.y, r3.y
    mad r4.xy, r4, c1.x, t0         // uv
    texld r5, r4, s0
    mov r5.w, c7.z                  // opaque
    mov oC0, r5
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = UnderwaterPS;
    }
}

technique MainFX {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = UnderwaterPS;
    }
}
