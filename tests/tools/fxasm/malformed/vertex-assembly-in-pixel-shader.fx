// expect: 4: is declared as a pixel shader but its assembly is not one
float4x4 WorldViewProj;
pixelshader TransformPS(WorldViewProj : c0)
asm { vs_2_0
    dcl_position v0
    m4x4 oPos, v0, c0
}
technique Main { pass P0 { PixelShader = TransformPS; } }
