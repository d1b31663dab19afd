// Effect 97: layer blend. The glow systems draw their sprites into a glow target with
// "Blend_Max", blend that target over the finished picture with "Blend_Screen" or
// "Blend_Normal", and draw the sprites on top with "Common"; the static text uses "Common".
// Every pass draws without culling through the fixed-function transform (no vertex shader).

texture Texture1;   // Blend_Max, Common: the sprite picture; Blend_*: the scene so far
texture Texture2;   // Blend_*: the glow target
float4 BlendColor = { 0.0, 0.6, 1.0, 1.0 };   // glow colour (rgb) and glow strength (w)

sampler TextureSampler1 = sampler_state {
    Texture = <Texture1>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = LINEAR;
    AddressU = CLAMP;
    AddressV = CLAMP;
};

sampler TextureSampler2 = sampler_state {
    Texture = <Texture2>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = LINEAR;
    AddressU = CLAMP;
    AddressV = CLAMP;
};

// T1, T2: the two samples; B = BlendColor; a = T2.a x B.w.
// Output T1 x (1 - a) + (T2 x B) x a, in all four channels.
pixelshader BlendNormalPS(BlendColor : c0, TextureSampler1 : s0, TextureSampler2 : s1)
asm {
    ps_2_0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s0            // T1
    texld r1, t0, s1            // T2
    mul r2, r1, c0              // T2 x B
    mul r3.x, r1.w, c0.w        // a
    lrp r4, r3.x, r2, r0        // T1 + (T2 x B - T1) x a
    mov oC0, r4
}

// Screen blend of the tinted glow over T1, by the same a:
// S = 1 - (1 - T1.rgb) x (1 - T2.rgb x B.rgb); colour = T1.rgb x (1 - a) + S x a;
// alpha = T1.a x (1 - a) + a x a.
pixelshader BlendScreenPS(BlendColor : c0, TextureSampler1 : s0, TextureSampler2 : s1)
asm {
    ps_2_0
    def c1, 1.0, 1.0, 1.0, 1.0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    texld r0, t0, s0            // T1
    texld r1, t0, s1            // T2
    mul r2, r1, c0              // T2 x B
    mul r3.x, r1.w, c0.w        // a
    add r4, c1, -r0             // 1 - T1
    add r5, c1, -r2             // 1 - T2 x B
    mad r6, -r4, r5, c1         // S
    mov r6.w, r3.x              // the alpha blends towards a itself
    lrp r7, r3.x, r6, r0        // T1 + (S - T1) x a
    mov oC0, r7
}

// Into the glow target: every channel keeps the larger of the target and the sprite texel.
technique Blend_Max {
    pass P0 {
        CullMode = NONE;
        PixelShader = NULL;
        Texture[0] = <Texture1>;
        ColorOp[0] = SELECTARG1;
        ColorArg1[0] = TEXTURE;
        AlphaOp[0] = SELECTARG1;
        AlphaArg1[0] = TEXTURE;
        AlphaBlendEnable = TRUE;
        SrcBlend = ONE;
        DestBlend = ONE;
        BlendOp = MAX;
        ColorWriteEnable = RED | GREEN | BLUE | ALPHA;
    }
}

// The scene blended towards the glow; the shader's result replaces the picture.
technique Blend_Screen {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        SrcBlend = SRCALPHA;
        DestBlend = INVSRCALPHA;
        ColorOp[0] = SELECTARG1;
        AlphaOp[0] = SELECTARG1;
        PixelShader = BlendScreenPS;
    }
}

technique Blend_Normal {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        SrcBlend = SRCALPHA;
        DestBlend = INVSRCALPHA;
        ColorOp[0] = SELECTARG1;
        AlphaOp[0] = SELECTARG1;
        PixelShader = BlendNormalPS;
    }
}

// Sprites and text: texture x vertex colour, alpha-blended. The alpha operation is left as the
// device has it (by default the texture's alpha). BlendOp is reset because Blend_Max sets MAX.
technique Common {
    pass P0 {
        CullMode = NONE;
        PixelShader = NULL;
        Texture[0] = <Texture1>;
        ColorOp[0] = MODULATE;
        ColorArg1[0] = TEXTURE;
        ColorArg2[0] = DIFFUSE;
        Lighting = FALSE;
        AlphaBlendEnable = TRUE;
        SrcBlend = SRCALPHA;
        DestBlend = INVSRCALPHA;
        BlendOp = ADD;
    }
}
