#include "core/render/draw_states.h"

#include <cstring>

#include "core/render/device_globals.h"

namespace {

// A texture stage's operation with its two arguments, for colour or alpha.
struct StageOp {
  DWORD op, arg1, arg2;
};

constexpr StageOp kSelectTexture = {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE};
constexpr StageOp kSelectDiffuse = {D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_DIFFUSE};
constexpr StageOp kTextureTimesDiffuse = {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE};
constexpr StageOp kTextureTimesFactor = {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TFACTOR};

DWORD FloatBits(float value) {
  DWORD bits;
  static_assert(sizeof bits == sizeof value, "a render-state float is 32 bits");
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Input and vertex processing: the bound vertices through the fixed-function transform, unlit,
// unfogged, no vertex blending, colours interpolated; stage 0 reads texture coordinate set 0 as
// it is (no transform, no wrapping).
void SetVertexStates() {
  IDirect3DDevice9* d = g_Device;
  d->SetVertexShader(nullptr);
  d->SetRenderState(D3DRS_LIGHTING, FALSE);
  d->SetRenderState(D3DRS_FOGENABLE, FALSE);
  d->SetRenderState(D3DRS_VERTEXBLEND, D3DVBF_DISABLE);
  d->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
  d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
  d->SetRenderState(D3DRS_WRAP0, 0);
}

// Rasteriser: solid triangles culled by `cull`, clipped to the view volume only (no user clip
// planes, no scissor rectangle).
void SetRasteriserStates(D3DCULL cull) {
  IDirect3DDevice9* d = g_Device;
  d->SetRenderState(D3DRS_CULLMODE, cull);
  d->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
  d->SetRenderState(D3DRS_CLIPPING, TRUE);
  d->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
  d->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
}

// Texture stages: stage 0 computes colour and alpha into the current register, stage 1 and
// the ones after it are off; no pixel shader, no specular sum.
void SetStageStates(const StageOp& colour, const StageOp& alpha) {
  IDirect3DDevice9* d = g_Device;
  d->SetPixelShader(nullptr);
  d->SetTextureStageState(0, D3DTSS_COLOROP, colour.op);
  d->SetTextureStageState(0, D3DTSS_COLORARG1, colour.arg1);
  d->SetTextureStageState(0, D3DTSS_COLORARG2, colour.arg2);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, alpha.op);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG1, alpha.arg1);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG2, alpha.arg2);
  d->SetTextureStageState(0, D3DTSS_RESULTARG, D3DTA_CURRENT);
  d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  d->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
}

// A sampler: linear filtering of the top level only (every level from the top when a mip
// filter is set), mirrored addressing, colours as stored.
void SetSamplerStates(DWORD sampler) {
  IDirect3DDevice9* d = g_Device;
  d->SetSamplerState(sampler, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  d->SetSamplerState(sampler, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  d->SetSamplerState(sampler, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
  d->SetSamplerState(sampler, D3DSAMP_MAXMIPLEVEL, 0);
  d->SetSamplerState(sampler, D3DSAMP_MIPMAPLODBIAS, 0);
  d->SetSamplerState(sampler, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR);
  d->SetSamplerState(sampler, D3DSAMP_ADDRESSV, D3DTADDRESS_MIRROR);
  d->SetSamplerState(sampler, D3DSAMP_SRGBTEXTURE, FALSE);
}

// Output merger: no depth, stencil or alpha test; when `blend`, the source by its alpha over
// the target by `destBlend`, one blend for colour and alpha; every channel written as it is,
// undithered.
void SetOutputStates(bool blend, D3DBLEND destBlend) {
  IDirect3DDevice9* d = g_Device;
  d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  d->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  d->SetRenderState(D3DRS_STENCILENABLE, FALSE);
  d->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, blend ? TRUE : FALSE);
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d->SetRenderState(D3DRS_DESTBLEND, destBlend);
  d->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  d->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
  d->SetRenderState(D3DRS_COLORWRITEENABLE, D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_GREEN |
                                                D3DCOLORWRITEENABLE_BLUE | D3DCOLORWRITEENABLE_ALPHA);
  d->SetRenderState(D3DRS_SRGBWRITEENABLE, FALSE);
  d->SetRenderState(D3DRS_DITHERENABLE, FALSE);
}

}  // namespace

DWORD TextureFactorOf(unsigned alpha) { return (static_cast<DWORD>(alpha & 0xFF) << 24) | 0xFFFFFFu; }

void SetPictureStates() {
  if (!g_Device) return;
  SetVertexStates();                               // fixed-function PT vertices
  SetRasteriserStates(D3DCULL_NONE);               // either winding
  SetStageStates(kSelectTexture, kSelectTexture);  // the texture's colour and alpha
  SetSamplerStates(0);                             // linear, mirrored
  SetOutputStates(false, D3DBLEND_INVSRCALPHA);    // replaces what is below
}

void SetMipmappedPictureStates() {
  if (!g_Device) return;
  SetPictureStates();
  g_Device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);  // every level from the top
}

void SetEffectStates() {
  if (!g_Device) return;
  SetVertexStates();                               // PT or PCT vertices, unless a pass has a vertex shader
  SetRasteriserStates(D3DCULL_NONE);               // either winding
  SetStageStates(kSelectTexture, kSelectTexture);  // fixed-function passes: the texture as it is
  SetSamplerStates(0);                             // the two samplers the passes read, whose
  SetSamplerStates(1);                             // filters and addressing they name
  SetOutputStates(false, D3DBLEND_INVSRCALPHA);    // a pass that blends names its blending
}

void SetColouredQuadStates() {
  if (!g_Device) return;
  SetVertexStates();                               // pre-transformed TPC or picture-space PC
  SetRasteriserStates(D3DCULL_NONE);               // either winding
  SetStageStates(kSelectDiffuse, kSelectDiffuse);  // vertex colour and alpha, no texture read
  SetSamplerStates(0);                             // unused
  SetOutputStates(true, D3DBLEND_INVSRCALPHA);     // over the scene by the vertex alpha
}

void SetPulsingQuadStates(unsigned alpha) {
  if (!g_Device) return;
  SetVertexStates();                                    // fixed-function PT vertices
  SetRasteriserStates(D3DCULL_NONE);                    // either winding
  SetStageStates(kSelectTexture, kTextureTimesFactor);  // texture colour, its alpha x the factor's
  g_Device->SetRenderState(D3DRS_TEXTUREFACTOR, TextureFactorOf(alpha));
  SetSamplerStates(0);                          // linear, mirrored
  SetOutputStates(true, D3DBLEND_INVSRCALPHA);  // over the scene by that alpha
}

void SetMarkerStates(unsigned alpha) {
  if (!g_Device) return;
  IDirect3DDevice9* d = g_Device;
  SetPulsingQuadStates(alpha);  // the pulsing quad's pipeline for PC points
  // Rasteriser: each point a 60-pixel sprite whatever its distance, textured across.
  d->SetRenderState(D3DRS_POINTSPRITEENABLE, TRUE);
  d->SetRenderState(D3DRS_POINTSCALEENABLE, FALSE);
  d->SetRenderState(D3DRS_POINTSIZE, FloatBits(60.0f));
  d->SetRenderState(D3DRS_POINTSIZE_MIN, FloatBits(1.0f));
  d->SetRenderState(D3DRS_POINTSIZE_MAX, FloatBits(64.0f));
}

void SetObject3DStates(bool translucent) {
  if (!g_Device) return;
  SetVertexStates();                                   // fixed-function PNT vertices, unlit
  SetRasteriserStates(D3DCULL_CCW);                    // the draw sets each frame's front faces
  SetStageStates(kSelectTexture, kSelectTexture);      // the texture's colour and alpha
  SetSamplerStates(0);                                 // linear, mirrored
  SetOutputStates(translucent, D3DBLEND_INVSRCALPHA);  // translucent parts over the scene
}

void SetSpriteArrayStates(bool overlayPass, D3DBLEND destBlend) {
  if (!g_Device) return;
  SetVertexStates();                  // fixed-function PCT vertices
  SetRasteriserStates(D3DCULL_NONE);  // either winding
  // Texture x vertex colour (the overlay's colour alone), alpha texture x vertex.
  SetStageStates(overlayPass ? kSelectTexture : kTextureTimesDiffuse, kTextureTimesDiffuse);
  SetSamplerStates(0);               // linear, mirrored
  SetOutputStates(true, destBlend);  // over the scene, normal or additive
}

void SetFrameTreeStates() {
  if (!g_Device) return;
  SetVertexStates();                               // fixed-function PNT vertices, unlit
  SetRasteriserStates(D3DCULL_CCW);                // the draw draws both faces
  SetStageStates(kSelectTexture, kSelectTexture);  // the texture's colour and alpha
  SetSamplerStates(0);                             // linear, mirrored
  SetOutputStates(true, D3DBLEND_INVSRCALPHA);     // over the scene by the texture alpha
}

void SetLitWaterStates() {
  if (!g_Device) return;
  IDirect3DDevice9* d = g_Device;
  SetVertexStates();  // fixed-function PNCT vertices, then lit:
  d->SetRenderState(D3DRS_LIGHTING, TRUE);
  d->SetRenderState(D3DRS_AMBIENT, 0);
  d->SetRenderState(D3DRS_COLORVERTEX, TRUE);
  d->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
  d->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
  d->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
  d->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
  d->SetRenderState(D3DRS_NORMALIZENORMALS, FALSE);
  d->SetRenderState(D3DRS_LOCALVIEWER, TRUE);
  SetRasteriserStates(D3DCULL_NONE);               // either winding
  SetStageStates(kSelectTexture, kSelectTexture);  // the texture's colour and alpha,
  d->SetRenderState(D3DRS_SPECULARENABLE, TRUE);   // plus the specular highlight
  SetSamplerStates(0);                             // linear, mirrored
  SetOutputStates(false, D3DBLEND_INVSRCALPHA);    // replaces what is below
}

namespace {

// Stage 1 reads texture set 1, or coordinates generated from the camera-space position through
// the texture-1 matrix.
void SetStageOneCoordinates(bool generated) {
  IDirect3DDevice9* d = g_Device;
  d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, generated ? (D3DTSS_TCI_CAMERASPACEPOSITION | 1) : 1);
  d->SetTextureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS, generated ? D3DTTFF_COUNT2 : D3DTTFF_DISABLE);
  d->SetRenderState(D3DRS_WRAP1, 0);
}

// Stage 1 shows its texture's colour over stage 0's alpha; stage 2 and later are off.
void SetStageOneTexture() {
  IDirect3DDevice9* d = g_Device;
  d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
  d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  d->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_CURRENT);
  d->SetTextureStageState(1, D3DTSS_RESULTARG, D3DTA_CURRENT);
  d->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE);
  d->SetTextureStageState(2, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

}  // namespace

void SetBumpEnvironmentStates(const float (&matrix)[4], D3DTEXTUREADDRESS bumpAddress,
                              D3DTEXTUREADDRESS pictureAddress, bool generated) {
  if (!g_Device) return;
  IDirect3DDevice9* d = g_Device;
  SetVertexStates();                  // XYZ | TEX2 vertices through the fixed-function transform
  SetStageOneCoordinates(generated);  // picture coordinates: set 1 or generated
  SetRasteriserStates(D3DCULL_NONE);  // either winding
  // Stage 0: the bump map's du, dv through the matrix, luminance unused; stage 1: the picture
  // at the moved coordinates.
  SetStageStates({D3DTOP_BUMPENVMAP, D3DTA_TEXTURE, D3DTA_CURRENT}, kSelectTexture);
  d->SetTextureStageState(0, D3DTSS_BUMPENVMAT00, FloatBits(matrix[0]));
  d->SetTextureStageState(0, D3DTSS_BUMPENVMAT01, FloatBits(matrix[1]));
  d->SetTextureStageState(0, D3DTSS_BUMPENVMAT10, FloatBits(matrix[2]));
  d->SetTextureStageState(0, D3DTSS_BUMPENVMAT11, FloatBits(matrix[3]));
  d->SetTextureStageState(0, D3DTSS_BUMPENVLSCALE, FloatBits(1.0f));
  d->SetTextureStageState(0, D3DTSS_BUMPENVLOFFSET, FloatBits(0.0f));
  SetStageOneTexture();
  SetSamplerStates(0);  // the bump map, linear, addressed as asked
  d->SetSamplerState(0, D3DSAMP_ADDRESSU, bumpAddress);
  d->SetSamplerState(0, D3DSAMP_ADDRESSV, bumpAddress);
  SetSamplerStates(1);  // the picture, linear, addressed as asked
  d->SetSamplerState(1, D3DSAMP_ADDRESSU, pictureAddress);
  d->SetSamplerState(1, D3DSAMP_ADDRESSV, pictureAddress);
  SetOutputStates(false, D3DBLEND_INVSRCALPHA);  // replaces what is below
}

void SetTexturedBlendStates() {
  if (!g_Device) return;
  SetVertexStates();                               // fixed-function vertices, set 0
  SetRasteriserStates(D3DCULL_NONE);               // either winding
  SetStageStates(kSelectTexture, kSelectTexture);  // the texture's colour and alpha
  SetSamplerStates(0);                             // linear, mirrored
  SetOutputStates(true, D3DBLEND_INVSRCALPHA);     // over the scene by the texture alpha
}

void SetMaskedProjectionStates() {
  if (!g_Device) return;
  SetVertexStates();                  // fixed-function vertices, set 0 for the mask
  SetStageOneCoordinates(true);       // stage 1 projected from the camera-space position
  SetRasteriserStates(D3DCULL_NONE);  // either winding
  SetStageStates(kSelectTexture, kSelectTexture);  // stage 0: the mask's alpha
  SetStageOneTexture();                            // stage 1: its texture's colour
  SetSamplerStates(0);                             // the mask, linear
  SetSamplerStates(1);                             // the projected texture, linear, clamped at
  g_Device->SetSamplerState(1, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);  // its edges (no seam of
  g_Device->SetSamplerState(1, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);  // the opposite edge)
  SetOutputStates(true, D3DBLEND_INVSRCALPHA);  // over the scene by the mask's alpha
}
