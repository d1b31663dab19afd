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

#include "brushes/base_fx/ds_fx_constructor.h"
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
  template <class R>
  void Record(R& r) {
    r.About("Procedural flames over a quadrilateral of the picture: its four corners (x, y, z each, in picture "
            "pixels; corners 1 and 3 are the flames' top edge, 2 and 4 their bottom edge; all at the origin by "
            "default, which draws nothing), the strongest and the weakest flame's colour (red in the low byte), a "
            "fire mode and an extra value (stored only), the flame pattern (common_res.dll 93) and the noise "
            "(common_res.dll 8), density (-1 + x 0.01), brightness (x 0.02) and the pattern's repeats across the "
            "quadrilateral (x 0.01). The kind starts at speed 50 with effect 92; keep the technique 0.");
    r.Field("corners", corners, DS_Since(2));
    r.Field("colour_to", colourTo, DS_Since(2));
    r.Field("colour_from", colourFrom, DS_Since(2));
    r.Field("fire_mode", fireMode, DS_Since(2));
    r.Field("pattern", patternLink, DS_Since(2));
    r.Field("noise", noiseLink, DS_Since(2));
    r.Field("extra", extraValue, DS_Since(2));
    r.Field("density", density, DS_Since(2));
    r.Field("brightness", brightness, DS_Since(2));
    r.Field("repeat", uRepeat, DS_Since(2));
    r.Base("DS_FX_Constructor", static_cast<DS_FX_Constructor&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_FireFX"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
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
