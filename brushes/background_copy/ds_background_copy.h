// Background copy: inside the mask the picture shows itself shifted by an offset in picture
// pixels, or by a whole picture (mirrored at its edge) along either axis (effect 75).
#pragma once

#include "brushes/base_fx/ds_fx_constructor.h"

class DS_BackgroundCopy final : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr int kEffectId = 75;

  DS_BackgroundCopy();
  DS_BackgroundCopy(const DS_BackgroundCopy& source) = default;
  DS_BackgroundCopy& operator=(const DS_BackgroundCopy&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("The picture inside the mask showing itself shifted: the rectangle's last two values are the shift in "
            "picture pixels (x, y; its four edges left, right, top, bottom are carried only); shift_y and shift_x "
            "not 0 add a whole picture (which comes back mirrored). The kind names its effect, 75; its speed is "
            "not used.");
    r.Field("rectangle", sourceRect);
    r.Field("shift_y", shiftY);
    r.Field("shift_x", shiftX);
    r.Base("DS_FX_Constructor", static_cast<DS_FX_Constructor&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_BackgroundCopy"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_BackgroundCopy>(*this); }

  // "offset": the further values of `sourceRect` as fractions of a picture of width x height (0
  // along a dimension of 0), plus a whole picture for each shift flag.
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

  MediaRectangle sourceRect;  // its edges are carried only; further1, further2: the offset in pixels
  MediaParamT<int32_t> shiftY{0};
  MediaParamT<int32_t> shiftX{0};
};
