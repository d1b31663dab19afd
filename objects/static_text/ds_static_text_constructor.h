// Static text: a line of text at a fixed point of the picture that fades in after a delay,
// holds, fades out and starts again. Every frame the text is drawn with a D3DX font, white with
// the current opacity, into a private target of the box's size, which is then the texture of
// the object's sprite, drawn through the effect's "Common" technique (effect 97 of the library,
// carried by the document).
//
// Record "DS_StaticTextConstructor" version 1: vertical and horizontal alignment, the text, the
// font, the fade-in, fade-out, hold and delay times (ms), then the nested "DS_StatBaseFXCtrl"
// record, whose box is the text box.
//
// The font and the target live in the default pool: they are released on a device loss (and
// when the slide stops being current) and made again on the reset. Without a font or a target
// the text is not drawn.
#pragma once

#include "core/data/media_kinds.h"
#include "core/data/record_values.h"
#include "objects/base_fx_objects/ds_stat_base_fx_ctrl.h"
#ifdef _WIN32
#include "core/render/render_target_pair.h"
#endif

class DS_StaticTextConstructor final : public DS_ParticleKindT<DS_StaticTextConstructor, DS_StatBaseFXCtrl> {
 public:
  static constexpr const char16_t* kClassName = u"DS_StaticTextConstructor";
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;

  // The DrawText format bits the alignments map to.
  static constexpr int32_t kLeft = 0, kCentre = 1, kRight = 2, kVerticalCentre = 4, kBottom = 8;

  DS_StaticTextConstructor();
  // Copies every member, the running state included; the font and the target are shared.
  DS_StaticTextConstructor(const DS_StaticTextConstructor& source) = default;

  template <class R>
  void Record(R& r) {
    r.About("A line of static text: vertical alignment (0 top, 1 centre, 2 bottom), horizontal alignment (0 left, "
            "1 centre, 2 right), the text, the font (height, weight, italic, face), the fade-in, fade-out, hold and "
            "delay times in ms; then the fixed-point level, whose box is the text box. Drawn white with the sprite "
            "colour as tint (the kind's default 0x000000FF is red: set 16777215 for white) through effect 97's "
            "\"Common\".");
    OwnFields(r);
    r.Base("DS_StatBaseFXCtrl", static_cast<DS_StatBaseFXCtrl&>(*this));
  }
  // The fields before the nested part.
  template <class R>
  void OwnFields(R& r) {
    r.Field("vertical_align", verticalAlign);
    r.Field("horizontal_align", horizontalAlign);
    r.Field("text", text);
    r.Field("font_height", font.height);
    r.Field("font_weight", font.weight);
    r.Field("font_italic", font.italic);
    r.Field("font_face", DS_FontFace(font.faceName));
    r.Field("fade_in", fadeIn);
    r.Field("fade_out", fadeOut);
    r.Field("hold", hold);
    r.Field("delay", delay);
  }
  void WriteOwnFields(DS_IOF_Virtual& out) const {
    DS_RecordWriter writer(out, kVersion);
    const_cast<DS_StaticTextConstructor*>(this)->OwnFields(writer);
  }
  void ReadOwnFields(DS_IOF_Virtual& in) {
    DS_RecordReader reader(in, kVersion);
    OwnFields(reader);
  }

  // The slide became current: the cycle starts again with the delay.
  void Restart() override { elapsed = 0.0f; }
  // The sprite at the centre with the box's size; the cycle advanced by the frame time.
  void UpdateParticle(DS_Particle& particle) override;

  // The opacity at `elapsed` ms of the cycle: 0 in the delay, rising over the fade-in, 1 while
  // it holds, falling over the fade-out. A zero fade time is an instant step.
  float AlphaAt(float ms) const;
  // The text colour's alpha byte for an opacity: 255 from 1 up, 0 from 0 down, else rounded.
  static uint32_t AlphaByte(float opacity);
  // The DrawText format for the two alignments: left, centre or right (anything else: left),
  // with vertical centring for 1 and the bottom for 2.
  int32_t AlignmentFlags() const;

#ifdef _WIN32
  // The effect, the placement and the format; the target and the font come with the reset.
  void CreateDeviceObjects() override;
  void OnDeviceLost() override;
  void OnDeviceReset() override;
  // Draws the text into the target with the current opacity and makes the target the sprite's
  // texture. Without a target nothing is drawn, not even the box; without a font the box
  // shows the cleared target.
  bool PrepareRender(DS_2D_Light& layer) override;
  // Whether the font could be made (a face the system lacks still gives one; a device without
  // memory may not).
  bool HasFont() const { return d3dFont.Get() != nullptr; }
  const DS_RenderTargetPair& Target() const { return target; }
#endif

  MediaParamT<int32_t> verticalAlign{0};
  MediaParamT<int32_t> horizontalAlign{0};
  MediaParamT<ds_string> text;
  FontMediaParam font;
  MediaParamT<uint32_t> fadeIn{0u}, fadeOut{0u}, hold{0u}, delay{0u};
  int32_t drawFlags = 0;
  float elapsed = 0.0f;  // ms of the current cycle
  float alpha = 1.0f;

#ifdef _WIN32
 private:
  void CreateTextFont();

  DS_ComHolder<IDirect3DTexture9> clearTexture;  // nothing assigns it: binding it unbinds
  DS_ComHolder<ID3DXFont> d3dFont;
  DS_RenderTargetPair target;
#endif
};
