// Effect 104: rotation, the effect the document names for its rotation objects. p = (t + offset)
// x Scale, a space where both coordinates are measured alike; q = p turned by the row-vector
// 2 x 2 matrix coord_transf (T1 T2 / T3 T4); colour = Background (q / Scale - offset); alpha =
// mask alpha, so soft mask edges blend the turned and the unturned picture. Clamped addressing:
// what turns in from beyond the picture repeats its edge.

texture Background;   // the picture, or the scene drawn so far
texture Mask;         // the brush's mask: only its alpha is read
float2 Scale;
float4 coord_transf;
float2 offset;

sampler BackGroundSampler = sampler_state {
    Texture = <Background>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = CLAMP; AddressV = CLAMP;
};

sampler MaskSampler = sampler_state {
    Texture = <Mask>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = CLAMP; AddressV = CLAMP;
};

pixelshader RotationPS(Scale : c0, coord_transf : c1, offset : c2, BackGroundSampler : s0, MaskSampler : s1)
asm {
    ps_2_0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s1                // m
    add r1.xy, t0, c2
    mul r1.xy, r1, c0               // p
    mov r3.x, c1.z
    mov r3.y, c1.w                  // (T3, T4)
    mul r2.xy, r1.x, c1             // p.x x (T1, T2)
    mad r2.xy, r1.y, r3, r2         // q
    rcp r4.x, c0.x
    rcp r4.y, c0.y
    mul r2.xy, r2, r4
    add r2.xy, r2, -c2              // uv
    texld r5, r2, s0
    mov r5.w, r0.w
    mov oC0, r5
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = RotationPS;
    }
}

technique MainFX {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = RotationPS;
    }
}
