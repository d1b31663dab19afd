// Effect 76: light. Inside the mask the picture brightens by "multiplier": lit = Background x
// (1 + multiplier), mixed with the unlit background by the mask's alpha m, and output with alpha
// m. "Main" blends that over what is drawn by m, so outside the mask nothing changes and under a
// soft edge the scene below shows through; "MainFX" (no blending) redraws the whole quad, the
// background unchanged outside the mask.

texture Background;   // the picture, or the scene drawn so far
texture Mask;         // the brush's mask: only its alpha is read
float2 Scale;         // (aspect / k, 1 / k), set on every brush; not used by this shading
float multiplier;

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

pixelshader LightPS(multiplier : c0, BackGroundSampler : s0, MaskSampler : s1)
asm {
    ps_2_0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s0                // background
    texld r1, t0, s1                // m
    mad r2, r0, c0.x, r0            // background x (1 + multiplier)
    lrp r3, r1.w, r2, r0            // by the mask
    mov r3.w, r1.w                  // alpha m
    mov oC0, r3
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = LightPS;
    }
}

technique MainFX {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = LightPS;
    }
}
