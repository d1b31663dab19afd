// expect: 5: 'Samp' cannot be read from a c register
texture Tex;
sampler Samp = sampler_state { Texture = <Tex>; };
pixelshader PS(
    Samp : c0)
asm {
    ps_2_0
    mov oC0, c0
}
technique Main { pass P0 { PixelShader = PS; } }
