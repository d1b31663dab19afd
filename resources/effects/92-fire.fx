// Effect 92: fire. Three octaves of a tiling grey noise scroll upwards at their own rates and
// bend a flame pattern (alpha high at the bottom, v = 1, fading towards the top):
//   n = N (t0 + c11) + 0.5 N (2 t0 + c12) + 0.25 N (3 t0 + c13)        turbulence, 0 .. 1.75
//   p = Pattern (t0 + (n - 0.875) x (0.15, 0.3))                      the bent tongues
//   i = sat (p.a x n + Density)                                       the flame's strength
//   colour = ColorK1 + ColorK2 x i; alpha = sat (i x (1 + Brightness)) x mask alpha
// "Main" is the fire brush: its 8 x 8 grid goes through the vertex shader, which also gives the
// picture coordinate of each vertex (t1) so that the mask lies over the picture as it does for
// every brush. "AsEffect" is the flame layer's band, drawn on the fixed-function transform. The
// effect object is shared by every fire of a document, so the band reads only the matrices, the
// noise, the pattern and the offsets, which the layer sets itself, and draws red to yellow with
// brightness 0.3, density 0 and no mask.

float4x4 WorldViewProj : WORLDVIEWPROJECTION;  // the grid's vertices to the screen
float4x4 ViewProj;                             // picture pixels to the picture's clip space
texture Noise;                                 // tiling grey turbulence
texture Pattern;                               // the flame tongues, alpha the shape
texture Mask;                                  // the brush's mask: only its alpha is read
texture Background;                            // the picture or the scene so far (not read)
float2 c11;                                    // the scroll offsets of the three octaves
float2 c12;
float2 c13;
float2 bg_scale_factor;                        // clip space to the picture's own -1 .. 1
float3 ColorK1 = { 1.0, 0.0, 0.0 };            // the weakest flame's colour
float3 ColorK2 = { 0.0, 1.0, 0.0 };            // to the strongest one's
float Brightness = 0.3;
float Density = 0.0;

sampler NoiseSampler = sampler_state {
    Texture = <Noise>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = WRAP; AddressV = WRAP;
};

sampler PatternSampler = sampler_state {
    Texture = <Pattern>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = CLAMP; AddressV = CLAMP;
};

sampler MaskSampler = sampler_state {
    Texture = <Mask>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = CLAMP; AddressV = CLAMP;
};

sampler BackGroundSampler = sampler_state {
    Texture = <Background>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = CLAMP; AddressV = CLAMP;
};

// oT0 the grid's own coordinate; oT1 the picture coordinate: (p x ViewProj) / w scaled to the
// picture's -1 .. 1, then (x, y) -> (0.5 x + 0.5, 0.5 - 0.5 y).
vertexshader FireVS(WorldViewProj : c0, ViewProj : c4, bg_scale_factor : c8)
asm {
    vs_2_0
    def c9, 0.5, -0.5, 0.5, 0.0
    dcl_position v0
    dcl_texcoord v1
    m4x4 oPos, v0, c0
    m4x4 r0, v0, c4
    rcp r1.x, r0.w
    mul r0.xy, r0, r1.x
    mul r0.xy, r0, c8
    mad oT1.xy, r0, c9, c9.z
    mov oT0.xy, v1
}

pixelshader FirePS(c11 : c0, c12 : c1, c13 : c2, ColorK1 : c3, ColorK2 : c4, Brightness : c5, Density : c6,
                   NoiseSampler : s0, PatternSampler : s1, MaskSampler : s2)
asm {
    ps_2_0
    def c7, 2.0, 3.0, 0.5, 0.25
    def c8, -0.875, 1.0, 0.0, 0.0
    def c9, 0.15, 0.3, 0.0, 0.0
    dcl t0.xy
    dcl t1.xy
    dcl_2d s0
    dcl_2d s1
    dcl_2d s2
    add r0.xy, t0, c0               // the three octaves' coordinates
    mad r1.xy, t0, c7.x, c1
    mad r2.xy, t0, c7.y, c2
    texld r3, r0, s0
    texld r4, r1, s0
    texld r5, r2, s0
    mad r6.x, r4.x, c7.z, r3.x
    mad r6.x, r5.x, c7.w, r6.x      // n
    add r7.x, r6.x, c8.x
    mad r7.xy, r7.x, c9, t0         // the pattern's coordinate
    texld r8, r7, s1                // p
    texld r9, t1, s2                // the mask
    mad_sat r10.x, r8.w, r6.x, c6.x // i
    mov r11.xyz, c3
    mad r11.xyz, c4, r10.x, r11     // colour
    add r12.x, c8.y, c5.x
    mul_sat r12.x, r10.x, r12.x
    mul r11.w, r12.x, r9.w          // alpha
    mov oC0, r11
}

pixelshader FlameBandPS(c11 : c0, c12 : c1, c13 : c2, NoiseSampler : s0, PatternSampler : s1)
asm {
    ps_2_0
    def c7, 2.0, 3.0, 0.5, 0.25
    def c8, -0.875, 1.3, 1.0, 0.0   // 1.3: 1 + the band's brightness of 0.3
    def c9, 0.15, 0.3, 0.0, 0.0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    add r0.xy, t0, c0
    mad r1.xy, t0, c7.x, c1
    mad r2.xy, t0, c7.y, c2
    texld r3, r0, s0
    texld r4, r1, s0
    texld r5, r2, s0
    mad r6.x, r4.x, c7.z, r3.x
    mad r6.x, r5.x, c7.w, r6.x      // n
    add r7.x, r6.x, c8.x
    mad r7.xy, r7.x, c9, t0
    texld r8, r7, s1                // p
    mul_sat r10.x, r8.w, r6.x       // i, density 0
    mov r11.x, c8.z                 // red to yellow: (1, i, 0)
    mov r11.y, r10.x
    mov r11.z, c8.w
    mul_sat r11.w, r10.x, c8.y
    mov oC0, r11
}

technique Main {
    pass P0 {
        CullMode = NONE;
        ZEnable = FALSE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        VertexShader = FireVS;
        PixelShader = FirePS;
    }
}

technique AsEffect {
    pass P0 {
        CullMode = NONE;
        ZEnable = FALSE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = FlameBandPS;
    }
}
