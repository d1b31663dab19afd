// Effect 90: water. Inside the mask the picture becomes a rippling, tinted water surface:
//   b = BumpMap (t x Scale); n = P1 + b x (P2 - P1)          the bump's normal
//   d = (n.x BampTrans.x + n.y BampTrans.z, n.x BampTrans.y + n.y BampTrans.w)
//   w = sin (dot (t, Direction1) + Time)                     the drifting wave
//   uv = t + (d + Direction2 x w) x mask alpha
//   water = Background (uv) x Color x (1 - Shadows x (1 - nz)) + pow (sat (dot (n, Vhalf)), 16)
// with n normalised for the shading; the result is mixed with the still background by the mask's
// alpha m and output with alpha m ("Main" blends it over what is drawn by m and leaves the
// outside alone, "MainFX" redraws the whole quad, the background unchanged outside the mask).

texture Background;   // the picture, or the scene drawn so far
texture Mask;         // the brush's mask: only its alpha is read
float2 Scale;         // (aspect / k, 1 / k): bump tiles per picture
texture BumpMap;      // a tiling ripple picture
float4 BampTrans;     // a rotating 2 x 2 transform of the bump slope
float3 P1;
float3 P2;
float Time;
float2 Direction1;
float2 Direction2;
float Shadows;
float3 Vhalf;
float3 Color;

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

sampler BumpSampler = sampler_state {
    Texture = <BumpMap>;
    MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = LINEAR;
    AddressU = WRAP; AddressV = WRAP;
};

pixelshader WaterPS(Scale : c0, BampTrans : c1, P1 : c2, P2 : c3, Time : c4, Direction1 : c5,
                    Direction2 : c6, Shadows : c7, Vhalf : c8, Color : c9,
                    BackGroundSampler : s0, MaskSampler : s1, BumpSampler : s2)
asm {
    ps_2_0
    def c10, 0.15915494, 0.5, 6.2831853, -3.1415927         // 1 / 2 pi, 1/2, 2 pi, -pi
    def c11, -0.0000015500992, -0.000021701389, 0.0026041667, 0.00026041668
    def c12, -0.020833334, -0.125, 1.0, 0.5
    def c13, 16.0, 0.0, 1.0, 0.0
    dcl t0.xy
    dcl_2d s0
    dcl_2d s1
    dcl_2d s2
    mul r0.xy, t0, c0               // bump coordinate
    texld r1, r0, s2                // b
    texld r0, t0, s1                // m
    add r2.xyz, c3, -c2
    mad r2.xyz, r1, r2, c2          // n
    mul r3.xy, r2.x, c1
    mov r4.x, c1.z
    mov r4.y, c1.w
    mad r3.xy, r2.y, r4, r3         // d
    mul r5.xy, t0, c5
    add r5.x, r5.x, r5.y
    add r5.x, r5.x, c4.x            // the wave's angle
    mad r5.x, r5.x, c10.x, c10.y    // reduced to -pi..pi for sincos
    frc r5.x, r5.x
    mad r5.x, r5.x, c10.z, c10.w
    sincos r6.y, r5.x, c11, c12     // w
    mad r3.xy, c6, r6.y, r3         // d + Direction2 x w
    mad r3.xy, r3, r0.w, t0         // uv
    texld r7, r3, s0                // the moved background
    texld r8, t0, s0                // the still background
    nrm r9.xyz, r2
    dp3_sat r10.x, r9, c8
    pow r10.x, r10.x, c13.x         // highlight
    add r11.x, c13.z, -r9.z
    mad r11.x, -c7.x, r11.x, c13.z  // 1 - Shadows x (1 - nz)
    mul r7.xyz, r7, c9
    mul r7.xyz, r7, r11.x
    add r7.xyz, r7, r10.x
    lrp r1.xyz, r0.w, r7, r8        // by the mask
    mov r1.w, r0.w                  // alpha m
    mov oC0, r1
}

technique Main {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA;
        PixelShader = WaterPS;
    }
}

technique MainFX {
    pass P0 {
        CullMode = NONE;
        AlphaBlendEnable = FALSE;
        PixelShader = WaterPS;
    }
}
