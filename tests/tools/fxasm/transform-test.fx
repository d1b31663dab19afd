// A float4x4 read by a vertex shader from c4..c7 (p x M, the D3DX row-vector convention).
float4x4 WorldViewProj : WORLDVIEWPROJECTION;
float4 Color = { 1.0, 1.0, 1.0, 1.0 };

vertexshader TransformVS(WorldViewProj : c4)
asm {
    vs_2_0
    dcl_position v0
    m4x4 oPos, v0, c4
}

pixelshader ColorPS(Color : c0)
asm {
    ps_2_0
    mov oC0, c0
}

technique Main {
    pass P0 {
        CullMode = NONE;
        ZEnable = FALSE;
        AlphaBlendEnable = FALSE;
        VertexShader = TransformVS;
        PixelShader = ColorPS;
    }
}
