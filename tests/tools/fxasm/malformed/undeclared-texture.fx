// expect: 5: no parameter named 'Picture'
texture Texture1;
technique Main {
    pass P0 {
        Texture[0] = <Picture>;
    }
}
