// Four-cornered shapes: the layout record DS_ScreenQuad, the drawable DS_TexturedQuad, the
// layer background DS_PictureQuad with its picture's pixel size, and the writers that fill
// quads of each vertex record. Corner order: 0 left-bottom, 1 left-top, 2 right-bottom,
// 3 right-top; unit texture coordinates (0, 1), (0, 0), (1, 1), (1, 0).
#pragma once

#include <d3d9.h>

#include "core/render/mesh.h"
#include "core/render/texture_info.h"

// Four corners of x, y (pixels), z (1 in the unit form, carried into the rhw of pre-transformed
// vertices), u, v. A plain value.
struct DS_ScreenQuad {
  struct Corner {
    float x, y, z, u, v;
  };
  Corner corners[4];

  DS_ScreenQuad() { Init(); }
  // Unit form: x and y 0, z 1, the unit texture coordinates.
  void Init();
  // Unit form, then the back buffer's corners (0, H), (0, 0), (W, H), (W, 0).
  void SetBackBuffer();
  void SetRectangle(float left, float top, float width, float height);
  // Unit form, then the largest rectangle of the picture's aspect that fits centred into a x b.
  void FitPicture(const DS_TextureInfo& picture, float a, float b);
  // Every x times W / a and every y times H / b, W x H the back buffer (or the given size).
  void ScaleToBackBuffer(float a, float b);
  void ScaleToSize(float a, float b, float width, float height);
};

// A simple mesh (PT or TPCT vertices) with a texture and a 32-bit word.
class DS_TexturedQuad : public DS_SimpleMesh<DX_V::PT> {
 public:
  // Takes the texture and a new TPCT strip from the screen quad, every colour opaque white.
  void SetFromScreenQuad(const DS_ComHolder<IDirect3DTexture9>& texture, const DS_ScreenQuad& screen);
  // The same without texture (the program holds no picture for it).
  void ResetFromScreenQuad(const DS_ScreenQuad& screen);
  // Rewrites positions and texture coordinates of a TPCT quad, colours kept.
  void SetPositions(const DS_ScreenQuad& screen);
  // The alpha byte of the four colours of a TPCT quad := trunc(factor x a), a in 0..255.
  void SetAlpha(float a, float factor);

  DS_ComHolder<IDirect3DTexture9> texture;
  DWORD word = 0;
};

// The layer background: a PT quad spanning (0, 0) to (width, height) in picture pixels, with the
// record of the picture it shows.
class DS_PictureQuad : public DS_TexturedQuad {
 public:
  // Drawing texture := the picture's (shared), positions := its size.
  void SetPicture(const DS_TextureInfo& info);
  // Stores the resolved picture (texture shared, width, height, aspect) as this quad's record and
  // applies it. The caller resolves the image link through the current resource manager (the
  // first frame of its image set, or the empty form for a set without frames).
  void LoadPicture(const DS_TextureInfo& resolved);

  DS_TextureInfo picture;
};

// Picture-space quads (PT).
void SetQuadTexCoordsPT(DS_TexturedQuad& quad);                 // new strip, unit texture coordinates only
void SetQuadSizePT(DS_TexturedQuad& quad, float w, float h);    // positions (0, h), (0, 0), (w, h), (w, 0)
void FillQuadPT(DS_TexturedQuad& quad, const float (&vertices)[20]);  // new strip, x y z u v per corner
void SetQuadPositionsPT(DS_TexturedQuad& quad, const float (&positions)[12]);  // x y z per corner only
// The picture texture := a managed copy of the source, 128 x 2^n pixels square.
void CreateSquareTextureCopy(int n, DS_PictureQuad& quad, const DS_ComHolder<IDirect3DTexture9>& source);

// Pre-transformed textured quads (TPCT); each locks the quad's buffer for its writes.
void CopyScreenQuadTPCT(const DS_ScreenQuad& screen, DS_TexturedQuad& quad);  // colours untouched
// A square of 2/3 of the back-buffer height centred on it, opaque white, unit texture
// coordinates, showing the program's own picture: the caller loads it from the program's
// resources (null when the program lacks it) and hands it in.
void MakeCenteredQuadFromResource(DS_TexturedQuad& quad, const DS_ComHolder<IDirect3DTexture9>& texture);
// The centred square for a back buffer of width x height (whole pixels).
void CenteredSquare(float width, float height, DS_ScreenQuad& out);

// Coloured quads without texture, TPC (screen) and PC (picture space).
void MakeColouredQuadTPC(DS_MeshBase& quad, DWORD colour, const DS_ScreenQuad& screen);
void MakeColouredQuadPC(DS_MeshBase& quad, DWORD colour, const DS_ScreenQuad& screen);
// Alpha bytes from four values in 0..1: corner 0 := a, 1 := c, 2 := b, 3 := d (a, b the bottom
// edge and c, d the top edge, each left to right); colour bits kept.
void SetQuadAlphasTPC(DS_MeshBase& quad, float a, float b, float c, float d);
void SetQuadAlphasPC(DS_MeshBase& quad, float a, float b, float c, float d);
// Red, green and blue of all four corners := the colour's; alphas kept.
void SetQuadColourPC(DS_MeshBase& quad, DWORD colour);
