// expect: 3: asm block is not closed
pixelshader PS()
asm {
    ps_2_0
    mov oC0, c0
technique Main { pass P0 { PixelShader = PS; } }
