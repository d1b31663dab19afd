#include "core/data/media_kinds.h"

#include <cmath>

int32_t DS_FloatToInt32(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0f) return INT32_MAX;
  if (value <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(value);
}

uint8_t DS_FloatToLowByte(float value) { return static_cast<uint8_t>(static_cast<uint32_t>(DS_FloatToInt32(value)) & 0xFFu); }

void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<uint32_t>& param) {
  uint32_t value = param.Get();
  in.ReadUInt(value);
  param.Store(value);
}
void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<int32_t>& param) {
  int32_t value = param.Get();
  in.ReadInt(value);
  param.Store(value);
}
void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<DS_Vector3>& param) {
  DS_Vector3 value = param.Get();
  in.ReadFloat(value.x);
  in.ReadFloat(value.y);
  in.ReadFloat(value.z);
  param.Store(value);
}
void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<DS_Point>& param) {
  DS_Point value = param.Get();
  in.ReadPoint(value);
  param.Store(value);
}
void ReadParamValue(DS_IOF_Virtual& in, MediaParamTB<ds_string>& param) {
  ds_string value = param.Get();
  in.ReadString(value);
  param.Store(value);
}

void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<uint32_t>& param) { out.WriteUInt(param.Get()); }
void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<int32_t>& param) { out.WriteInt(param.Get()); }
void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<DS_Vector3>& param) {
  out.WriteFloat(param.Get().x);
  out.WriteFloat(param.Get().y);
  out.WriteFloat(param.Get().z);
}
void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<DS_Point>& param) { out.WritePoint(param.Get()); }
void WriteParamValue(DS_IOF_Virtual& out, const MediaParamTB<ds_string>& param) { out.WriteString(param.Get()); }

void MediaSpeedParam::Update(float time) {
  if (m_LastTime > time) m_LastTime = time;
  float step = time - m_LastTime;
  if (step > kMaxStep) step = kMaxStep;
  m_Step = Derived() * step;
  m_Phase += m_Step;
  m_LastTime = time;
}

uint32_t MediaColor::ToArgb(uint8_t alpha) const {
  const uint32_t bgr = Get();
  const uint32_t r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
  return (uint32_t{alpha} << 24) | (r << 16) | (g << 8) | b;
}

void MediaDirection::UpdateAxes() {
  const double radians = static_cast<double>(Get()) * 3.14159265358979323846 / 180.0;
  const auto c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
  // Row vectors times the rotation about Z: (1,0,0,0) -> (c, s), (0,1,0,0) -> (-s, c).
  m_XAxis = DS_Vector4{c, s, 0.0f, 0.0f};
  m_YAxis = DS_Vector4{-s, c, 0.0f, 0.0f};
}

MediaRectangle::MediaRectangle() : left(0), right(0), top(0), bottom(0), further1(0), further2(0) {}

MediaRectangle::MediaRectangle(const MediaRectangle& source)
    : MediaParam(),
      left(source.left),
      right(source.right),
      top(source.top),
      bottom(source.bottom),
      further1(source.further1),
      further2(source.further2) {}

MediaRectangle& MediaRectangle::operator=(const MediaRectangle& source) {
  left.SetDefault(source.left.Get());
  right.SetDefault(source.right.Get());
  top.SetDefault(source.top.Get());
  bottom.SetDefault(source.bottom.Get());
  further1 = source.further1;
  further2 = source.further2;
  return *this;
}

bool MediaRectangle::ContainsPicturePoint(float x, float y) const {
  return static_cast<float>(left.Get()) <= x && x <= static_cast<float>(right.Get()) &&
         static_cast<float>(top.Get()) <= y && y <= static_cast<float>(bottom.Get());
}

void MediaRectangle::ReadFields(DS_IOF_Virtual& in) {
  ReadParamValue(in, left);
  ReadParamValue(in, right);
  ReadParamValue(in, top);
  ReadParamValue(in, bottom);
  ReadParamValue(in, further1);
  ReadParamValue(in, further2);
}

void MediaRectangle::WriteFields(DS_IOF_Virtual& out) const {
  WriteParamValue(out, left);
  WriteParamValue(out, right);
  WriteParamValue(out, top);
  WriteParamValue(out, bottom);
  WriteParamValue(out, further1);
  WriteParamValue(out, further2);
}

void MediaQuad::ReadFields(DS_IOF_Virtual& in) {
  for (auto& corner : corners) ReadParamValue(in, corner);
}

void MediaQuad::WriteFields(DS_IOF_Virtual& out) const {
  for (const auto& corner : corners) WriteParamValue(out, corner);
}

void FontMediaParam::ReadFields(DS_IOF_Virtual& in) {
  in.ReadInt(height);
  in.ReadUInt(weight);
  in.ReadInt(italic);
  // A face cut to nothing at its first unit names no face, as an empty stored face does: both
  // keep the face before (a written font always reads back as it was).
  ds_string face;
  in.ReadString(face);
  if (!face.empty()) faceName = face;
}

void FontMediaParam::WriteFields(DS_IOF_Virtual& out) const {
  out.WriteInt(height);
  out.WriteUInt(weight);
  out.WriteInt(italic);
  out.WriteString(faceName);
}
