// expect: 4: 'ColorOp' needs a stage or sampler number [n]
technique Main {
    pass P0 {
        ColorOp = MODULATE;
    }
}
