// Effect 78: pattern. Inside the mask a pattern picture is tiled over the picture: the tile place
// q = t x coord_transf + offset (the row-vector 2 x 2 matrix T1 T2 / T3 T4: tiles across the
// picture, mirrored and turned), sampled with wrapping; its alpha a = pattern alpha x mask alpha.
// colour = the background mixed towards the pattern by a, output with alpha a: "Main" blends that
// over what is drawn by a, so outside the mask (and where the pattern is clear) nothing changes;
// "MainFX" (no blending) redraws the whole quad, the background unchanged where a is 0.

texture Background;   // the picture, or the scene drawn so far
texture Mask;         // the brush's mask: only its alpha is read
texture Pattern;      // the pattern's current frame
float2 Scale;         // (aspect / k, 1 / k), set on every brush; not used by this shading
float2 scale;         // (pattern width / height, 1); the tiles are laid by coord_transf alone
float2 offset;        // in tiles
float4 coord_transf;

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

sampler PatternSampler = sampler_state {
    Texture = <Pattern>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = WRAP; AddressV = WRAP;
};

pixelshader PatternPS(coord_transf : c0, offset : c1, BackGroundSampler : s0, MaskSampler : s1, PatternSampler : s2)
asm {
    ps_2_0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    dcl_2d s2
    texld r0, t0, s0                // background
    texld r1, t0, s1                // m
    mov r3.x, c0.z
    mov r3.y, c0.w                  // (T3, T4)
    mad r2.xy, t0.x, c0, c1         // t.x x (T1, T2) + offset
    mad r2.xy, t0.y, r3, r2         // q
    texld r4, r2, s2                // pattern
    mul r5.w, r4.w, r1.w            // a
    lrp r6, r5.w, r4, r0            // the background towards the pattern
    mov r6.w, r5.w
    mov oC0, r6
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = PatternPS;
    }
}

technique MainFX {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = PatternPS;
    }
}
