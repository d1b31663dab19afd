// expect: 4: 'Texture1' is not a sampler
texture Texture1;
technique Main {
    pass P0 { Sampler[0] = <Texture1>; }
}
