// A fixed-function pass that takes a whole sampler (texture and states) through Sampler[0].
texture Tex;
sampler ClampedPoint = sampler_state {
    Texture = <Tex>;
    MinFilter = POINT;
    MagFilter = POINT;
    AddressU = CLAMP;
    AddressV = CLAMP;
};

technique Main {
    pass P0 {
        CullMode = NONE;
        VertexShader = NULL;
        PixelShader = NULL;
        AlphaBlendEnable = FALSE;
        Sampler[0] = <ClampedPoint>;
        ColorOp[0] = SELECTARG1;
        ColorArg1[0] = TEXTURE;
        AlphaOp[0] = SELECTARG1;
        AlphaArg1[0] = TEXTURE;
        ColorOp[1] = DISABLE;
    }
}
