// The resource tests' effect: one colour parameter drawn by a pixel shader, and one texture
// parameter that the loss test binds to a default-pool render target.
float4 Color = { 1.0, 0.0, 0.0, 1.0 };
texture Tex;

pixelshader ColorPS(Color : c0)
asm {
    ps_2_0
    mov oC0, c0
}

technique Main {
    pass P0 {
        PixelShader = ColorPS;
    }
}
