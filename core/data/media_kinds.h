// The parameter kinds of the parameter sets: scaled values with a derived number, the speed
// that integrates over frame time, colour, direction, rectangle, quadrilateral and font, and
// the stored form of each (written and read by the owner inside its own record).
#pragma once

#include <cstdint>

#include "core/data/ds_stream.h"
#include "core/data/media_param.h"

// Float to int32 for values that may be NaN, infinite or out of range: NaN gives 0, the rest is
// clamped to the int32 range and truncated toward zero.
int32_t DS_FloatToInt32(float value);
// The low byte of DS_FloatToInt32 (382.5 gives 126, -1 gives 255).
uint8_t DS_FloatToLowByte(float value);

// Plain kinds: the stored value read directly (nobody told) or written.
void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<uint32_t>& param);  // ReadUInt
void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<int32_t>& param);   // ReadInt
void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<DS_Vector3>& param);
void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<DS_Point>& param);
void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<ds_string>& param);
void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<uint32_t>& param);
void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<int32_t>& param);
void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<DS_Vector3>& param);
void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<DS_Point>& param);
void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<ds_string>& param);

// A u32 parameter that keeps derived := offset + scale x value (the value as unsigned) in step.
// T = uint8_t keeps the low byte of the truncated sum, T = float the sum itself.
template <class T>
class UINTSclaleTo : public MediaParamT<uint32_t>, public MediaControlT<MediaParamT<uint32_t>> {
 public:
  UINTSclaleTo() : MediaParamT<uint32_t>(0u) {
    Watch(this);
    Recompute();
  }
  UINTSclaleTo(const UINTSclaleTo& source) : UINTSclaleTo() {
    m_Scale = source.m_Scale;
    m_Offset = source.m_Offset;
    Recompute();
    Set(source.Get());
  }
  UINTSclaleTo& operator=(const UINTSclaleTo&) = delete;

  // The owner's scale and offset; the derived value follows at once.
  void SetScale(float scale, float offset) {
    m_Scale = scale;
    m_Offset = offset;
    OnChanged(nullptr);
  }
  T Derived() const { return m_Derived; }
  float Scale() const { return m_Scale; }
  float Offset() const { return m_Offset; }

  void OnChanged(MediaControl*) override { Recompute(); }

  // Read through the changing convention, so that the derived value follows.
  void ReadValue(DS_IOF_Virtual& in) {
    uint32_t value = Get();
    in.ReadUInt(value);
    Set(value);
  }
  void WriteValue(DS_IOF_Virtual& out) const { out.WriteUInt(Get()); }

 private:
  void Recompute() {
    const float sum = m_Offset + m_Scale * static_cast<float>(Get());
    if constexpr (sizeof(T) == 1) {
      m_Derived = DS_FloatToLowByte(sum);
    } else {
      m_Derived = sum;
    }
  }

  T m_Derived{};
  float m_Scale = 1.0f;
  float m_Offset = 0.0f;
};

// The speed parameter: derived value in units per second, integrated into a phase.
class MediaSpeedParam : public UINTSclaleTo<float> {
 public:
  // Frame times longer than this count as this long (a pause never jumps the phase).
  static constexpr float kMaxStep = 0.2f;

  // Once per frame with the application time in seconds.
  void Update(float time);
  float Step() const { return m_Step; }
  float Phase() const { return m_Phase; }
  float LastTime() const { return m_LastTime; }

 private:
  float m_Step = 0.0f;
  float m_Phase = 0.0f;
  float m_LastTime = 0.0f;
};

// A scaled float value of its own class (the flowing particles' speeds).
template <class U>
class MediaFloat;
template <>
class MediaFloat<uint32_t> : public UINTSclaleTo<float> {};

// A colour word 0x00BBGGRR (red in the lowest byte).
class MediaColor : public MediaParamT<uint32_t> {
 public:
  explicit MediaColor(uint32_t colour = 0) : MediaParamT<uint32_t>(colour) {}
  void ReadValue(DS_IOF_Virtual& in) {
    uint32_t value = Get();
    in.ReadULong(value);
    Store(value);
  }
  void WriteValue(DS_IOF_Virtual& out) const { out.WriteULong(Get()); }
  // 0xAARRGGBB with the given alpha.
  uint32_t ToArgb(uint8_t alpha) const;
};

// An angle in degrees with the x and y axes rotated by it about Z (stored: the angle only).
class MediaDirection : public MediaParamT<uint32_t> {
 public:
  MediaDirection() : MediaParamT<uint32_t>(0u) { UpdateAxes(); }
  // The owner calls this after setting the angle.
  void UpdateAxes();
  const DS_Vector4& XAxis() const { return m_XAxis; }
  const DS_Vector4& YAxis() const { return m_YAxis; }

 private:
  DS_Vector4 m_XAxis;
  DS_Vector4 m_YAxis;
};

// Four edges in picture pixels and two further values. Stored: left, right, top, bottom,
// further 1, further 2 (six int32); reading stores them directly.
class MediaRectangle : public MediaParam {
 public:
  MediaRectangle();
  MediaRectangle(const MediaRectangle& source);
  MediaRectangle& operator=(const MediaRectangle& source);

  // The inclusive test on a point already mapped into picture pixels. (Mapping a layer point
  // through the screen mapping is the caller's part; a rectangle with left > right holds none.)
  bool ContainsPicturePoint(float x, float y) const;

  void ReadFields(DS_IOF_Virtual& in);
  void WriteFields(DS_IOF_Virtual& out) const;

  MediaParamT<int32_t> left, right, top, bottom;
  MediaParamTB<int32_t> further1, further2;
};

// Four corners (twelve floats stored, corner by corner x, y, z).
class MediaQuad : public MediaParam {
 public:
  void ReadFields(DS_IOF_Virtual& in);
  void WriteFields(DS_IOF_Virtual& out) const;

  MediaParamTB<DS_Vector3> corners[4];
};

// A D3DX font description. Stored: height (int), weight (uint), italic (int), face (string).
class FontMediaParam : public MediaParam {
 public:
  void ReadFields(DS_IOF_Virtual& in);
  void WriteFields(DS_IOF_Virtual& out) const;

  int32_t height = 32;
  uint32_t weight = 700;
  int32_t italic = 0;
  ds_string faceName = u"Arial";
};
