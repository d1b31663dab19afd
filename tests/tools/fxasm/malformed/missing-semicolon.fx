// expect: 3: expected ';'
float4 Color = { 1, 0, 0, 1 }
technique Main { pass P0 { CullMode = NONE; } }
