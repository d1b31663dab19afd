// Effect 63: heat distortion. The finished scene is drawn again, each pixel fetched a little
// away from its place by a tiling bump picture that drifts with time, as through hot air:
//   b = Bumpmap (t x bump_scale + Offset)
//   colour = SceneTex (t + (b.rg x 2 - 1) x stenght), alpha 1
// One pass, pixel shader only, on the fixed-function transform of the picture quad; it replaces
// what is drawn.

float stenght;        // how far a pixel moves (0.0025 of the picture by default)
float2 Offset;        // the bump picture's drift
float2 bump_scale;    // bump tiles per picture across and down
texture SceneTex;     // the finished scene
texture Bumpmap;      // tiling turbulence in red and green around 128

sampler SceneSampler = sampler_state {
    Texture = <SceneTex>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = NONE;
    AddressU = CLAMP; AddressV = CLAMP;
};

sampler BumpSampler = sampler_state {
    Texture = <Bumpmap>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = WRAP; AddressV = WRAP;
};

pixelshader HeatPS(stenght : c0, Offset : c1, bump_scale : c2, SceneSampler : s0, BumpSampler : s1)
asm {
    ps_2_0
    def c3, 2.0, -1.0, 1.0, 0.0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    mad r0.xy, t0, c2, c1
    texld r1, r0, s1
    mad r2.xy, r1, c3.x, c3.y       // b.rg x 2 - 1
    mad r2.xy, r2, c0.x, t0
    texld r3, r2, s0
    mov r3.w, c3.z
    mov oC0, r3
}

technique BumpmapDistortLow2 {
    pass P0 {
        CullMode = NONE;
        ZEnable = FALSE;
        AlphaBlendEnable = FALSE;
        PixelShader = HeatPS;
    }
}
