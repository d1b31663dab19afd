// Effect 200: explosion. One sprite drawn through the fixed-function transform; the pixel shader
// turns its texture coordinates into a fireball: the heat falls off from the centre, is eaten
// into by the drifting noise, held down while the explosion grows and while it fades, and picks
// its colour and cover from the gradient picture (u = heat), tinted from the second colour (cold)
// to the first (hot). The vertex alpha (the sprite's fade) and the fade's complement scale the
// cover, so the fireball dissolves to nothing by the end of the fade.

texture GradientTex;     // colour ramp by heat (library picture 201)
texture NoiseTex;        // tiling grey turbulence (library picture 8)
float3 color1 = { 1.0, 1.0, 1.0 };             // hot tint: the sprite colour
float3 color2 = { 0.0, 0.0, 0.0 };             // cold tint
float4 noise_shift = { 0.0, 0.0, 0.0, 0.0 };   // previous (xy) and current (zw) noise offset
float3 noise_params = { 0.79, 0.15, 0.42 };    // heat boost, noise bite, growth hold-down
float2 time = { 0.0, 1.0 };                    // blend from the previous to the current offset
float2 phase_3rd = { 0.0, 1.0 };               // fade progress and its complement
float phase_1st = 0.0;                         // 2 falling to 0 while the explosion grows

sampler GradientSampler = sampler_state {
    Texture = <GradientTex>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = NONE;
    AddressU = CLAMP;
    AddressV = CLAMP;
};

sampler NoiseSampler = sampler_state {
    Texture = <NoiseTex>;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
    MipFilter = LINEAR;
    AddressU = WRAP;
    AddressV = WRAP;
};

pixelshader ExplosionPS(color1 : c0, color2 : c1, noise_shift : c2, noise_params : c3, time : c4,
                        phase_3rd : c5, phase_1st : c6, GradientSampler : s0, NoiseSampler : s1)
asm {
    ps_2_0
    def c7, 2.0, -1.0, 1.0, 0.5
    dcl t0.xy
    dcl v0
    dcl_2d s0
    dcl_2d s1
    mad r0.xy, t0, c7.x, c7.y       // p = uv x 2 - 1
    mul r0.z, r0.x, r0.x
    mad r0.z, r0.y, r0.y, r0.z      // |p|^2
    rsq r0.w, r0.z
    rcp r0.w, r0.w                  // r = |p|
    add r1.xy, t0, c2               // uv + previous offset
    mov r2.x, c2.z
    mov r2.y, c2.w
    add r2.xy, t0, r2               // uv + current offset
    texld r1, r1, s1
    texld r2, r2, s1
    lrp r3, c4.x, r2, r1            // n: previous to current by time.x
    add r4.x, c7.z, -r0.w           // 1 - r
    add r4.y, c7.z, c3.x            // 1 + boost
    mul r4.x, r4.x, r4.y
    mad r4.x, -r3.x, c3.y, r4.x     // - n x bite
    add r4.x, r4.x, -c5.x           // - fade progress
    mad_sat r4.x, -c6.x, c3.z, r4.x // - growth x hold-down: the heat, 0 to 1
    mov r4.y, c7.w
    texld r5, r4, s0                // the ramp at the heat
    lrp r6.xyz, r4.x, c0, c1        // cold to hot tint
    mul r7.xyz, r5, r6
    mul r7.w, r5.w, v0.w            // cover x the sprite's fade
    mov_sat r8.x, c5.y              // what is left of the fade
    mul r7.w, r7.w, r8.x
    mov oC0, r7
}

technique Main {
    pass P0 {
        CullMode = NONE;
        Lighting = FALSE;
        AlphaBlendEnable = TRUE;
        SrcBlend = SRCALPHA;
        DestBlend = INVSRCALPHA;
        BlendOp = ADD;
        PixelShader = ExplosionPS;
    }
}
