// expect: 7: error
float4 Color;
pixelshader ColorPS(Color : c0)
asm {
    ps_2_0
    mov r0, c0
    mul_bogus oC0, r0, c0
}
technique Main { pass P0 { PixelShader = ColorPS; } }
