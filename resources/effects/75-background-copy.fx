// Effect 75: background copy. Inside the mask the picture shows itself shifted by "offset" (in
// fractions of the picture; a whole picture and more comes back mirrored at the edge): copy =
// Background (t + offset), mixed with the unshifted background by the mask's alpha m, and output
// with alpha m. "Main" blends that over what is drawn by m, so outside the mask nothing changes;
// "MainFX" (no blending) redraws the whole quad, the background unchanged outside the mask.

texture Background;   // the picture, or the scene drawn so far
texture Mask;         // the brush's mask: only its alpha is read
float2 Scale;         // (aspect / k, 1 / k), set on every brush; not used by this shading
float2 offset;

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

pixelshader CopyPS(offset : c0, BackGroundSampler : s0, MaskSampler : s1)
asm {
    ps_2_0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s0                // background
    texld r1, t0, s1                // m
    add r2.xy, t0, c0               // the shifted place
    texld r3, r2, s0                // copy
    lrp r4, r1.w, r3, r0            // by the mask
    mov r4.w, r1.w                  // alpha m
    mov oC0, r4
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = CopyPS;
    }
}

technique MainFX {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = CopyPS;
    }
}
