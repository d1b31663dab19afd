// expect: 4: 'SIDEWAYS' is not a value of CullMode
technique Main {
    pass P0 {
        CullMode = SIDEWAYS;
    }
}
