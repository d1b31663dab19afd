// Fire: procedural flames over a quadrilateral of the picture. Its four corners span an 8 x 8
// grid that is drawn through effect 92 ("Main", with a vertex shader of its own) fed with a
// tiling noise (picture 8) scrolled at three rates, a flame pattern (picture 93) and two colours;
// the brush's mask, laid over the whole picture, still limits it. The flame layer embeds one as
// a nested record and draws its band through the same effect ("AsEffect").
//
// The record and the values the effect gets are platform-free; the grid, the binding and the
// drawing are in ds_fire_fx_device.cpp (the host build has a stand-in that holds nothing).
#pragma once

#include <cstdint>
#include <memory>

#include "brushes/fx_base/ds_fx_constructor.h"
#include "core/data/file_links.h"
#include "core/data/media_kinds.h"

class DS_MeshBase;
// The grid the fire draws: an indexed PT mesh and its column and row counts (device side).
struct DS_FireGrid;

class DS_FireFX final : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;  // version 1: the nested base part alone
  static constexpr int kEffectId = 92;
  static constexpr int kPatternPictureId = 93;
  static constexpr int kNoisePictureId = 8;
  static constexpr int kGridCells = 8;
  // The smallest stored step of uRepeat: a stored 0 (or a negative scale) counts as this.
  static constexpr float kMinRepeat = 0.01f;

  DS_FireFX();
  DS_FireFX(const DS_FireFX& source);
  // The flame layer copies a freshly read fire into its own with this.
  DS_FireFX& operator=(const DS_FireFX& source);
  ~DS_FireFX() override;

  // Record ---------------------------------------------------------------------------------------
  // "DS_FireFX" version 2: corners, colours, fire mode, pattern and noise links, the extra value,
  // density, brightness and u repeat, then the nested "DS_FX_Constructor" part.
  void Write(DS_IOF_Virtual& out) const override;
  // Items 2 to 8 only from version 2 on; then the nested base part.
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_FireFX>(*this); }

  // Values ---------------------------------------------------------------------------------------
  // The pattern and the noise, bound as "Pattern" and "Noise".
  std::vector<DS_ResourceKey> Pictures() const override { return {patternLink.Key(), noiseLink.Key()}; }
  // What only a fire brush sets: "ColorK1", "ColorK2" (the colour from colourFrom to colourTo),
  // "Brightness" and "Density".
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;
  // What the flame layer sets as well: "Noise", "Pattern" and the scroll offsets "c11", "c12",
  // "c13" = (0, 1.3 p), (0, 2.1 p), (0, 2.3 p) at the speed's phase p.
  void CollectNoiseParameters(DS_FX_Parameters& out) const;
  // The grid's u runs from 0 to this: 1 / uRepeat, a repeat of 0 or less counting as its
  // smallest step.
  float RepeatU() const;

  // Device side --------------------------------------------------------------------------------
  // The base binding (effect, pattern, noise, mask), then the grid built and filled from the
  // corners as they are now.
  void LoadEffect(IDirect3DTexture9* mask) override;
  // The matrices, the noise values and the offsets on the effect for `mesh` (its frame's world).
  // Nothing without an effect.
  void SetNoiseParameters(const DS_MeshBase& mesh);
  // The grid through "Main". With a technique flag the layer hands the fire the scene drawn so
  // far, which it first draws over the picture quad, so that the scene outside the grid stays.
  void Render(DS_2D_Light& layer) override;
  const DS_FireGrid& Grid() const { return *m_Grid; }

  MediaQuad corners;            // picture pixels, all at the origin by default
  MediaColor colourTo;          // the strongest flame, 0x00BBGGRR
  MediaColor colourFrom;        // the weakest flame
  MediaParamT<int32_t> fireMode{0};  // stored and copied only
  DS_ImageFileLink patternLink;
  DS_ImageFileLink noiseLink;
  MediaParamTB<int32_t> extraValue{0};  // stored and copied only
  UINTSclaleTo<float> density;
  UINTSclaleTo<float> brightness;
  UINTSclaleTo<float> uRepeat;

 private:
  void BuildGrid();
  void FillGrid();

  struct GridDeleter {
    void operator()(DS_FireGrid* grid) const;
  };
  static DS_FireGrid* NewGrid(const DS_FireGrid* source);
  std::unique_ptr<DS_FireGrid, GridDeleter> m_Grid;
};

// A "DS_FireFX" record (header included) read into a new fire owned by the caller, with the
// version its header gives; the flame layer reads its nested fire with this.
std::unique_ptr<DS_FireFX> ReadFireFXObject(DS_IOF_Virtual& in);
