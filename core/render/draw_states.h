// The whole pipeline state of each kind of draw, one function per kind, grouped by stage: input
// and vertex processing, rasteriser, texture stages, sampler, output merger. A draw calls its
// function first and so relies on nothing an earlier draw left behind; it puts nothing back.
// The binders (mesh_ops.h) set the vertex format, the stream and the quad textures, the view
// state the transforms, and the draws the textures of their meshes and any state they change
// between their own primitives (the cull mode of each frame, the sprites' overlay pass).
#pragma once

#include <d3d9.h>

// The picture as it is, opaque: the layer's background and the view's border quads.
void SetPictureStates();
// The same through every level of the texture's mip chain, blended linearly between them: a
// picture made with its smaller levels (the glass ball's backdrop) drawn minified.
void SetMipmappedPictureStates();
// What an effect's passes start from: the picture's states with samplers 0 and 1 alike, over
// which each pass sets its shaders and the states it names. The effect puts its own changes
// back when it ends.
void SetEffectStates();
// Vertex colour and vertex alpha, blended: the fade overlays (pre-transformed) and the object
// bounds (picture space).
void SetColouredQuadStates();
// The quad's texture colour with its alpha scaled by the texture factor's `alpha` (0..255),
// blended: the pulsing quads.
void SetPulsingQuadStates(unsigned alpha);
// The same for the selection markers, drawn as point sprites of 60 pixels.
void SetMarkerStates(unsigned alpha);
// A 3D-object part: the texture's colour and alpha, blended when the part is translucent. The
// draw sets the cull mode of every frame.
void SetObject3DStates(bool translucent);
// Particle sprites: texture x vertex colour (in the overlay pass the overlay's colour alone),
// alpha texture x vertex, blended onto the scene by `destBlend` (normal or additive).
void SetSpriteArrayStates(bool overlayPass, D3DBLEND destBlend);
// The elements of falling objects: the texture's colour and alpha, blended. The draw sets the
// cull mode of both faces.
void SetFrameTreeStates();

// The texture factor that carries `alpha` (0..255) over white.
DWORD TextureFactorOf(unsigned alpha);

// The water of the water-ring layer: fixed-function lighting with the layer's directional light
// and specular material (the vertex colour as diffuse material), the texture's colour and alpha
// with the specular highlight added, opaque, either winding.
void SetLitWaterStates();
// Bump-environment mapping: stage 0's du, dv (a V8U8 or V16U16 texture) through the 2 x 2
// `matrix` (00, 01, 10, 11) move the lookup of stage 1, whose texture colour is drawn opaque.
// Stage 1 reads texture set 1 as it is, or, when `generated`, coordinates made from the
// camera-space position through the texture-1 matrix (two of them counted).
void SetBumpEnvironmentStates(const float (&matrix)[4], D3DTEXTUREADDRESS bumpAddress,
                              D3DTEXTUREADDRESS pictureAddress, bool generated);
// The texture's colour and alpha blended over the scene, either winding: glass overlays.
void SetTexturedBlendStates();
// Stage 0's alpha from a mask (an A8 texture) with stage 1's texture colour at coordinates
// made from the camera-space position through the texture-1 matrix, blended by that alpha.
void SetMaskedProjectionStates();
