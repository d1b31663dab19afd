// The lake layer: the lower part of the picture becomes a lake. A band above the horizon is
// mirrored below it and drawn through fixed-function bump-environment mapping (stage 0 the bump
// map, stage 1 a square copy of the picture) with a displacement matrix that turns with time;
// over it lie a tint that fades towards the horizon and a thin strip that softens the horizon
// line. The bump map is the document's mask under the layer's GUID; a lake whose document holds
// none, or that is made again, computes one from the program's wave heights.
#pragma once

#include <cstdint>

#include "core/data/media_kinds.h"
#include "core/layer/ds_2d_light.h"
#include "core/resources/mask_entry.h"
#include "layers/lake/fake_lake_2d_params.h"
#include "layers/lake/lake_maths.h"

// The part first, so that it outlives the base layer (whose listeners go first).
class FakeLake2D : public FakeLake2DParams, public DS_2D_Light {
 public:
  using FakeLake2DParams::kVersion;
  using FakeLake2DParams::kMinVersion;
  static constexpr int kCopySizeLimit = 5;    // the square copy is at most 4096 pixels
  static constexpr int kWaveHeightsId = 2;    // the program's own "DDS" picture of wave heights

  FakeLake2D();
  ~FakeLake2D() override;

  // Record ---------------------------------------------------------------------------------------
  // "FakeLake2D" version 2: the eight values, copy size, colour, the mask key, the base part.
  template <class R>
  void Record(R& r) {
    DS_WalkRecord(static_cast<FakeLake2DParams&>(*this), r);
    r.Base("DS_2D_Light", static_cast<DS_2D_Light&>(*this));
  }
  // Registers the bump map as the mask of the layer's key, then the record.
  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

  // Device objects: the wave mesh, the tint and strip quads, the picture copy and a computed bump
  // map are managed and made once; the document's bump map belongs to the resource manager (the
  // mask of the layer's key). The reset is the base's (the target pair); the reflection, the tint
  // and the strip each set their own states.
  void CreateDeviceObjects() override;

  // Frame ----------------------------------------------------------------------------------------
  void Update(float time) override;
  void RenderBackground(bool flag) override;
  void OnPictureChanged() override;

  // While 1 (after construction and reading), creating the device objects computes no bump map
  // where the document holds one; 0 after the first creation. Not part of the record.
  std::uint8_t keepBumpMap = 1;

  // What the tests look at.
  const float (&BumpMatrix() const)[4] { return m_BumpMatrix; }
  const DS_SimpleMesh<DX_V::PC>& TintQuad() const { return m_Tint; }
  const DS_SimpleMesh<DX_V::PC>& StripQuad() const { return m_Strip; }
  const DS_SimpleMesh<DS_WaveVertex>& WaveMesh() const { return m_Wave; }
  const Texture& BumpTexture() const { return m_Bump; }
  const Texture& PictureCopy() const { return m_PictureCopy.picture.texture; }

 private:
  void CreateWaveMesh();
  void LayoutLake();
  void SetLakeAlphas();
  void CopySquarePicture();
  Texture ComputeLakeBumpMap() const;
  void WriteWaveVertices(const DS_WaveVertex (&vertices)[6]);

  DS_PictureQuad m_PictureCopy;  // only its picture texture is used: the square copy
  DS_SimpleMesh<DX_V::PC> m_Tint;
  DS_SimpleMesh<DX_V::PC> m_Strip;
  float m_BumpMatrix[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // 00, 01, 10, 11
  DS_SimpleMesh<DS_WaveVertex> m_Wave;
  DS_WaveVertex m_WaveVertices[6] = {};  // what the wave buffer holds
  Texture m_Bump;
};
