// expect: 5: unknown state 'BlendOperation'
float4 Color;
technique Main {
    pass P0 {
        BlendOperation = ADD;
    }
}
