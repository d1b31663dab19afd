// How the parameter kinds and file links are stored, for the records that list them
// (core/data/ds_record.h): each is read as its owner has always read it (stored directly, or
// through the changing convention where a derived value must follow).
#pragma once

#include "core/data/ds_record.h"
#include "core/data/file_links.h"
#include "core/data/media_kinds.h"

template <class T>
struct DS_ParamValue {
  static void Read(DS_IOF_Virtual& in, MediaParamTB<T>& v) { ReadParamValue(in, v); }
  static void Write(DS_IOF_Virtual& out, const MediaParamTB<T>& v) { WriteParamValue(out, v); }
  static const char* Type() { return DS_Value<T>::Type(); }
  static std::string Text(const MediaParamTB<T>& v) { return DS_Value<T>::Text(v.Get()); }
};
template <>
struct DS_Value<MediaParamTB<uint32_t>> : DS_ParamValue<uint32_t> {};
template <>
struct DS_Value<MediaParamT<uint32_t>> : DS_ParamValue<uint32_t> {};
template <>
struct DS_Value<MediaParamTB<int32_t>> : DS_ParamValue<int32_t> {};
template <>
struct DS_Value<MediaParamT<int32_t>> : DS_ParamValue<int32_t> {};
template <>
struct DS_Value<MediaParamTB<DS_Point>> : DS_ParamValue<DS_Point> {};
template <>
struct DS_Value<MediaParamT<DS_Point>> : DS_ParamValue<DS_Point> {};
template <>
struct DS_Value<MediaParamTB<ds_string>> : DS_ParamValue<ds_string> {};
template <>
struct DS_Value<MediaParamT<ds_string>> : DS_ParamValue<ds_string> {};

// A scaled value: read through the changing convention so that the derived value follows.
template <class T>
struct DS_Value<UINTSclaleTo<T>> {
  static void Read(DS_IOF_Virtual& in, UINTSclaleTo<T>& v) { v.ReadValue(in); }
  static void Write(DS_IOF_Virtual& out, const UINTSclaleTo<T>& v) { v.WriteValue(out); }
  static const char* Type() { return "uint"; }
  static std::string Text(const UINTSclaleTo<T>& v) { return std::to_string(v.Get()); }
};
template <>
struct DS_Value<MediaFloat<uint32_t>> : DS_Value<UINTSclaleTo<float>> {};
template <>
struct DS_Value<MediaSpeedParam> : DS_Value<UINTSclaleTo<float>> {};

template <>
struct DS_Value<MediaColor> {
  static void Read(DS_IOF_Virtual& in, MediaColor& v) { v.ReadValue(in); }
  static void Write(DS_IOF_Virtual& out, const MediaColor& v) { v.WriteValue(out); }
  static const char* Type() { return "ulong"; }
  static std::string Text(const MediaColor& v) { return std::to_string(v.Get()); }
};

// Six int32: left, right, top, bottom and the two further values.
template <>
struct DS_Value<MediaRectangle> {
  static void Read(DS_IOF_Virtual& in, MediaRectangle& v) { v.ReadFields(in); }
  static void Write(DS_IOF_Virtual& out, const MediaRectangle& v) { v.WriteFields(out); }
  static const char* Type() { return "int[6]"; }
  static std::string Text(const MediaRectangle& v) {
    std::string text = "[";
    const MediaParamTB<int32_t>* edges[] = {&v.left, &v.right, &v.top, &v.bottom, &v.further1, &v.further2};
    for (size_t i = 0; i < 6; ++i) text += (i ? ", " : "") + std::to_string(edges[i]->Get());
    return text + "]";
  }
};

// Twelve floats, corner by corner x, y, z.
template <>
struct DS_Value<MediaQuad> {
  static void Read(DS_IOF_Virtual& in, MediaQuad& v) { v.ReadFields(in); }
  static void Write(DS_IOF_Virtual& out, const MediaQuad& v) { v.WriteFields(out); }
  static const char* Type() { return "float[12]"; }
  static std::string Text(const MediaQuad& v) {
    std::string text = "[";
    for (size_t i = 0; i < 4; ++i) {
      const DS_Vector3 c = v.corners[i].Get();
      for (float f : {c.x, c.y, c.z}) text += (text.size() > 1 ? ", " : "") + DS_JsonFloat(f);
    }
    return text + "]";
  }
};

// A link: its name, then its stamp. The content tool writes it from a library id or a picture of
// the document; a picture's link also carries the picture into the document being written.
std::string DS_LinkText(const DS_ResourceKey& key);  // in ds_record.cpp
template <class Link>
struct DS_LinkValue {
  static void Read(DS_IOF_Virtual& in, Link& v) { ReadFileLink(in, v); }
  static void Write(DS_IOF_Virtual& out, const Link& v) {
    if constexpr (std::is_same_v<Link, DS_ImageFileLink>) {
      WritePictureLink(v, out);
    } else {
      WriteFileLink(v, out);
    }
  }
  static const char* Type() { return "picture"; }
  static std::string Text(const Link& v) { return DS_LinkText(v.Key()); }
};
template <>
struct DS_Value<DS_ImageFileLink> : DS_LinkValue<DS_ImageFileLink> {};
template <>
struct DS_Value<DS_FileLink3> : DS_LinkValue<DS_FileLink3> {};
template <>
struct DS_Value<DS_MeshFile> : DS_LinkValue<DS_MeshFile> {};
template <>
struct DS_Value<DS_HLSLEffectFile> : DS_LinkValue<DS_HLSLEffectFile> {};

template <>
struct DS_Value<DS_Guid> {
  static void Read(DS_IOF_Virtual& in, DS_Guid& v) { ReadGuid(in, v); }
  static void Write(DS_IOF_Virtual& out, const DS_Guid& v) { WriteGuid(out, v); }
  static const char* Type() { return "guid"; }
  static std::string Text(const DS_Guid& v) { return DS_JsonString(DS_GuidToString(v)); }
};
