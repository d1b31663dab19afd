// How the parameter kinds and file links are stored, for the records that list them
// (core/data/ds_record.h): each is read as its owner has always read it (stored directly, or
// through the changing convention where a derived value must follow).
#pragma once

#include "core/data/ds_named_blob.h"
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

// Three floats x, y, z: "float[3]".
template <>
struct DS_Value<DS_Vector3> {
  static void Read(DS_IOF_Virtual& in, DS_Vector3& v) {
    for (float* f : {&v.x, &v.y, &v.z}) in.ReadFloat(*f);
  }
  static void Write(DS_IOF_Virtual& out, const DS_Vector3& v) {
    for (float f : {v.x, v.y, v.z}) out.WriteFloat(f);
  }
  static const char* Type() { return "float[3]"; }
  static std::string Text(const DS_Vector3& v) {
    return "[" + DS_JsonFloat(v.x) + ", " + DS_JsonFloat(v.y) + ", " + DS_JsonFloat(v.z) + "]";
  }
};
template <>
struct DS_Value<MediaParamTB<DS_Vector3>> : DS_ParamValue<DS_Vector3> {};
template <>
struct DS_Value<MediaParamT<DS_Vector3>> : DS_ParamValue<DS_Vector3> {};

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

// A font's face. An empty stored face keeps the face before, as FontMediaParam::ReadFields does:
// r.Field("font_face", DS_FontFace(font.faceName)).
struct DS_FontFace {
  explicit DS_FontFace(ds_string& v) : value(v) {}
  ds_string& value;
};
template <>
struct DS_Value<DS_FontFace> {
  static void Read(DS_IOF_Virtual& in, DS_FontFace v) {
    ds_string face;
    in.ReadString(face);
    if (!face.empty()) v.value = face;
  }
  static void Write(DS_IOF_Virtual& out, const DS_FontFace& v) { out.WriteString(v.value); }
  static const char* Type() { return "string"; }
  static std::string Text(const DS_FontFace& v) { return DS_JsonString(v.value); }
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

// A link described as two fields, its library and its id, where its record has always named
// them apart: r.Field("effect_library", DS_LinkLibrary(link)); r.Field("effect_id", DS_LinkId(link)).
// The bytes are the link's own (name, then stamp); the library's write carries the resource into
// the document being written, as writing the whole link does.
struct DS_LinkLibrary {
  explicit DS_LinkLibrary(DS_FileLink3& l) : link(l) {}
  DS_FileLink3& link;
};
struct DS_LinkId {
  explicit DS_LinkId(DS_FileLink3& l) : link(l) {}
  DS_FileLink3& link;
};
template <>
struct DS_Value<DS_LinkLibrary> {
  static void Read(DS_IOF_Virtual& in, DS_LinkLibrary v) {
    // A fresh name: the stream leaves its target as it was for an empty one.
    DS_ResourceKey key = v.link.Key();
    key.name.clear();
    in.ReadString(key.name);
    v.link.StoreKey(key);
  }
  static void Write(DS_IOF_Virtual& out, const DS_LinkLibrary& v) {
    DS_NoteLinkWritten(v.link);
    out.WriteString(v.link.Key().name);
  }
  static const char* Type() { return "string"; }
  static std::string Text(const DS_LinkLibrary& v) { return DS_JsonString(v.link.Key().name); }
};
template <>
struct DS_Value<DS_LinkId> {
  static void Read(DS_IOF_Virtual& in, DS_LinkId v) {
    DS_ResourceKey key = v.link.Key();
    in.ReadInt64(key.stamp);
    v.link.StoreKey(key);
  }
  static void Write(DS_IOF_Virtual& out, const DS_LinkId& v) { out.WriteInt64(v.link.Key().stamp); }
  static const char* Type() { return "int64"; }
  static std::string Text(const DS_LinkId& v) { return std::to_string(v.link.Key().stamp); }
};

template <>
struct DS_Value<DS_Guid> {
  static void Read(DS_IOF_Virtual& in, DS_Guid& v) { ReadGuid(in, v); }
  static void Write(DS_IOF_Virtual& out, const DS_Guid& v) { WriteGuid(out, v); }
  static const char* Type() { return "guid"; }
  static std::string Text(const DS_Guid& v) { return DS_JsonString(DS_GuidToString(v)); }
};

// The bytes of a blob alone, as a resource entry or named blob stores them: a u32 count, then
// the bytes (read anew: none stored leaves none). The content tool writes the count, which must
// be 0 there. r.Field("mesh_bytes", DS_BlobBytes(entry)).
struct DS_BlobBytes {
  explicit DS_BlobBytes(DS_NamedBlob& b) : blob(b) {}
  DS_NamedBlob& blob;
};
template <>
struct DS_Value<DS_BlobBytes> {
  static void Read(DS_IOF_Virtual& in, DS_BlobBytes v) {
    v.blob.bytes.resize(DS_ReadCount(in, 1));
    for (uint8_t& byte : v.blob.bytes) in.ReadByte(byte);
  }
  static void Write(DS_IOF_Virtual& out, const DS_BlobBytes& v) {
    out.WriteUInt(v.blob.Size());
    for (const uint8_t byte : v.blob.bytes) out.WriteByte(byte);
  }
  static const char* Type() { return "uint"; }
  static std::string Text(const DS_BlobBytes& v) { return std::to_string(v.blob.Size()); }
};
