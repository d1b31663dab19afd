// expect: 2: 'BlendColor' needs 4 initial values, not 3
float4 BlendColor = { 0.0, 0.6, 1.0 };
technique Main { pass P0 { CullMode = NONE; } }
