// Effect 91: move. Inside the mask the picture is shifted by "Direction" times the mask's alpha:
// colour = Background (t + Direction x mask alpha); alpha = 1 where the mask's alpha is above 0,
// else that alpha. "Main" blends that over the picture by its alpha (outside the mask nothing
// changes); "MainFX" writes it over the whole quad, which outside the mask is the background
// unmoved.

texture Background;   // the picture, or the scene drawn so far
texture Mask;         // the brush's mask: only its alpha is read
float2 Direction;

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

pixelshader MovePS(Direction : c0, BackGroundSampler : s0, MaskSampler : s1)
asm {
    ps_2_0
    def c1, 1.0, 0.0, 0.0, 0.0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s1                // m
    mad r1.xy, c0, r0.w, t0         // uv
    texld r2, r1, s0
    cmp r2.w, -r0.w, r0.w, c1.x     // 1 where the mask's alpha is above 0, else that alpha
    mov oC0, r2
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = MovePS;
    }
}

technique MainFX {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = MovePS;
    }
}
