// The lake's arithmetic, without the device: the mirrored quad, the horizon strip, the wave
// mesh's vertices, the turning bump matrix, the tint's colour word and alphas, and the bump map
// computed from a height field. The layer
// (fake_lake_2d.h) writes its buffers from these; the host tests run them too.
#pragma once

#include <cstdint>
#include <vector>

#include "core/render/vertex_records.h"

// The wave mesh's vertex: position, bump-map coordinates (set 0), picture coordinates (set 1).
using DS_WaveVertex = DX_V::PT2;

using DS_LakeQuad = DX_V::PT[4];  // strip order: left-bottom, left-top, right-bottom, right-top

// The picture quad of a W x H picture: (0, H) (0, 0) (W, H) (W, 0), z 1, unit texture coordinates.
void LakePictureQuad(float width, float height, DS_LakeQuad& out);

// Mirrors a quad at the share s of its height: the top edge moves down to T + (1 - s)(B - T) and
// shows v = vB + s(vT - vB); the bottom edge stays and shows v = vB + 2s(vT - vB). For a picture
// the band from (1 - 2s)H to (1 - s)H appears upside down between the horizon and the bottom.
void MirrorQuad(DS_LakeQuad& quad, float s);

// The horizon strip's height in pixels for the mirrored quad of a picture of height H: the strip
// value scaled by the mirrored height over H and divided by s. No strip (0) for a share of 0 or
// below, where the reflection has no height, and a picture height of 0 counts as 1.
int LakeStripHeight(unsigned strip, const DS_LakeQuad& mirrored, float pictureHeight, float s);

// The six wave vertices from the mirrored quad: positions (z 0) and picture coordinates of
// corners 1, 0, 2, 1, 2, 3; bump coordinates kept.
void SetWaveMeshFromQuad(const DS_LakeQuad& quad, DS_WaveVertex (&vertices)[6]);
// The bump coordinates of the six vertices for a tiling S: from 0.01 to S in each direction.
void SetWaveTiling(float tiling, DS_WaveVertex (&vertices)[6]);
// The mesh's vertices before the first layout.
void InitialWaveVertices(DS_WaveVertex (&vertices)[6]);

// The bump matrix (00, 01, 10, 11) at phase p: 0.04 times the rotation by A = 9 x (0.5 x p).
void LakeBumpMatrix(float phase, float (&matrix)[4]);

// The tint colour 0x00BBGGRR as the vertex colour 0x00RRGGBB.
std::uint32_t LakeTintColour(std::uint32_t colour);

// Alphas of the tint: a at the bottom, b = a x (1 - f) at the horizon.
struct DS_LakeAlphas {
  float bottom, horizon;
};
DS_LakeAlphas LakeAlphas(float tintAlpha, float tintFade);

// The bump map of a width x height field of heights (0..255 for 0..1, row by row, repeating at
// its edges, as the tiling wave picture does): at each texel the slopes to the right and
// downwards, central differences times the amplitude, give the surface normal
// (-sx, -sy, 1) / length, whose x and y are stored as the signed du, dv pair of a V8U8 texel
// (x 127, rounded). `out` gets width x height pairs, du first.
void LakeBumpFromHeights(const std::uint8_t* heights, int width, int height, float amplitude,
                         std::vector<std::int8_t>& out);
