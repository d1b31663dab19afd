// Effect 102: expand. Inside the mask the picture zooms about "center": an outward amount o
// (amplitude.x) grows it, an inward amount i (amplitude.y) shrinks it, both weighted by the mask's
// alpha m: colour = Background (center + (t - center) x (1 + (i - o) x m)); alpha = 1 where m > 0,
// else m. "Main" blends that over the picture by its alpha (outside the mask nothing changes);
// "MainFX" writes it over the whole quad, which outside the mask is the background unmoved.

texture Background;   // the picture, or the scene drawn so far
texture Mask;         // the brush's mask: only its alpha is read
float2 Scale;         // (aspect / k, 1 / k), set on every brush; a zoom about a point needs no aspect
float2 amplitude;
float2 center;

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

pixelshader ExpandPS(amplitude : c0, center : c1, BackGroundSampler : s0, MaskSampler : s1)
asm {
    ps_2_0
    def c2, 1.0, 0.0, 0.0, 0.0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s1                // m
    add r1.x, c0.y, -c0.x           // i - o
    mad r1.x, r1.x, r0.w, c2.x      // the zoom of the sampled distance
    add r2.xy, t0, -c1
    mad r2.xy, r2, r1.x, c1         // uv
    texld r3, r2, s0
    cmp r3.w, -r0.w, r0.w, c2.x     // 1 where m > 0, else m
    mov oC0, r3
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = ExpandPS;
    }
}

technique MainFX {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = ExpandPS;
    }
}
