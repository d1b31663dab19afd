// A stored record written down once. Each class that has a record lists it in one member
// template beside its fields:
//
//   template <class R>
//   void Record(R& r) {
//     r.About("Fish: the largest speeds in pixels per unit of phase, then the sprite part.");
//     r.Field("max_speed_x", maxSpeedX);
//     r.Field("max_speed_y", maxSpeedY, DS_Since(2));      // a field that came with version 2
//     r.Part("top", "DS_BoundControl", bounds[0]);          // a nested record held by name
//     r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));  // nested, own header
//   }
//
// Three passes walk that list: the reader (one version, the one in the record's header), the
// writer (the version the class writes, or an older one for tests) and the describer (names,
// types, defaults and versions for the content tool and the conformance test). What a plain list
// of fields cannot say (lists, embedded legacy data, layouts that differ by version) is a step:
// a read and a write of the class's own, named and gated like a field.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/data/ds_stream.h"

// The versions of a record that hold a field: first..last, both included.
struct DS_Versions {
  uint32_t first = 0;
  uint32_t last = std::numeric_limits<uint32_t>::max();
  bool Holds(uint32_t version) const { return version >= first && version <= last; }
  bool IsAlways() const { return first == 0 && last == std::numeric_limits<uint32_t>::max(); }
};
inline DS_Versions DS_Since(uint32_t version) { return {version, std::numeric_limits<uint32_t>::max()}; }
inline DS_Versions DS_Until(uint32_t version) { return {0, version}; }
inline DS_Versions DS_Only(uint32_t version) { return {version, version}; }
inline DS_Versions DS_Between(uint32_t first, uint32_t last) { return {first, last}; }

// The values a whole-number field may hold, both included: the content tool refuses others
// before writing them (r.Field("zoom", zoom, DS_Range(1, 100000))). Reading does not check.
struct DS_Range {
  constexpr DS_Range(int64_t first, int64_t last) : low(first), high(last) {}
  int64_t low;
  int64_t high;
};

// How one member type is stored: Read, Write, the content tool's type name and its default as
// JSON text ("" for a type whose default the content tool knows itself).
template <class T, class = void>
struct DS_Value;

std::string DS_JsonFloat(float value);
std::string DS_JsonString(const ds_string& value);

template <>
struct DS_Value<float> {
  static void Read(DS_IOF_Virtual& in, float& v) { in.ReadFloat(v); }
  static void Write(DS_IOF_Virtual& out, const float& v) { out.WriteFloat(v); }
  static const char* Type() { return "float"; }
  static std::string Text(const float& v) { return DS_JsonFloat(v); }
};
template <>
struct DS_Value<int32_t> {
  static void Read(DS_IOF_Virtual& in, int32_t& v) { in.ReadInt(v); }
  static void Write(DS_IOF_Virtual& out, const int32_t& v) { out.WriteInt(v); }
  static const char* Type() { return "int"; }
  static std::string Text(const int32_t& v) { return std::to_string(v); }
};
template <>
struct DS_Value<uint32_t> {
  static void Read(DS_IOF_Virtual& in, uint32_t& v) { in.ReadUInt(v); }
  static void Write(DS_IOF_Virtual& out, const uint32_t& v) { out.WriteUInt(v); }
  static const char* Type() { return "uint"; }
  static std::string Text(const uint32_t& v) { return std::to_string(v); }
};
template <>
struct DS_Value<uint8_t> {
  static void Read(DS_IOF_Virtual& in, uint8_t& v) { in.ReadByte(v); }
  static void Write(DS_IOF_Virtual& out, const uint8_t& v) { out.WriteByte(v); }
  static const char* Type() { return "byte"; }
  static std::string Text(const uint8_t& v) { return std::to_string(v); }
};
template <>
struct DS_Value<bool> {
  static void Read(DS_IOF_Virtual& in, bool& v) { in.ReadBool(v); }
  static void Write(DS_IOF_Virtual& out, const bool& v) { out.WriteBool(v); }
  static const char* Type() { return "bool"; }
  static std::string Text(const bool& v) { return v ? "true" : "false"; }
};
template <>
struct DS_Value<int64_t> {
  static void Read(DS_IOF_Virtual& in, int64_t& v) { in.ReadInt64(v); }
  static void Write(DS_IOF_Virtual& out, const int64_t& v) { out.WriteInt64(v); }
  static const char* Type() { return "int64"; }
  static std::string Text(const int64_t& v) { return std::to_string(v); }
};
template <>
struct DS_Value<ds_string> {
  static void Read(DS_IOF_Virtual& in, ds_string& v) { in.ReadString(v); }
  static void Write(DS_IOF_Virtual& out, const ds_string& v) { out.WriteString(v); }
  static const char* Type() { return "string"; }
  static std::string Text(const ds_string& v) { return DS_JsonString(v); }
};
template <>
struct DS_Value<DS_Point> {
  static void Read(DS_IOF_Virtual& in, DS_Point& v) { in.ReadPoint(v); }
  static void Write(DS_IOF_Virtual& out, const DS_Point& v) { out.WritePoint(v); }
  static const char* Type() { return "point"; }
  static std::string Text(const DS_Point& v) { return "[" + std::to_string(v.x) + ", " + std::to_string(v.y) + "]"; }
};

// A u32 stored as the stream's "ulong" rather than its "uint" (the bytes are the same; the
// content tool keeps the two names apart): r.Field("colour", DS_ULong(colourWord)).
struct DS_ULong {
  explicit DS_ULong(uint32_t& v) : value(v) {}
  uint32_t& value;
};
template <>
struct DS_Value<DS_ULong> {
  static void Read(DS_IOF_Virtual& in, DS_ULong v) { in.ReadULong(v.value); }
  static void Write(DS_IOF_Virtual& out, const DS_ULong& v) { out.WriteULong(v.value); }
  static const char* Type() { return "ulong"; }
  static std::string Text(const DS_ULong& v) { return std::to_string(v.value); }
};

// A fixed run of values of one type (a C array member): "float[4]".
template <class T, size_t N>
struct DS_Value<T[N]> {
  static void Read(DS_IOF_Virtual& in, T (&v)[N]) {
    for (T& item : v) DS_Value<T>::Read(in, item);
  }
  static void Write(DS_IOF_Virtual& out, const T (&v)[N]) {
    for (const T& item : v) DS_Value<T>::Write(out, item);
  }
  static std::string Type() { return std::string(DS_Value<T>::Type()) + "[" + std::to_string(N) + "]"; }
  static std::string Text(const T (&v)[N]) {
    std::string text = "[";
    for (size_t i = 0; i < N; ++i) text += (i ? ", " : "") + DS_Value<T>::Text(v[i]);
    return text + "]";
  }
};

// A part of a record that is not a list of fields: its own read and write, for the versions
// that hold it. Steps are for older layouts the class still reads (and tests write); the current
// version of every record is fields and nested parts alone, so that the content tool can write
// it from its description.
struct DS_Step {
  std::string what;  // what the step reads, for the description
  DS_Versions versions;
  std::function<void(DS_IOF_Virtual&, uint32_t)> read;
  std::function<void(DS_IOF_Virtual&, uint32_t)> write;
};

// The description of one record, as the describer finds it.
struct DS_DeclaredField {
  std::string name;        // a field's name or a named part's; empty for a nested part or a step
  std::string type;        // "float", "uint[2]", ...
  std::string value;       // its default as JSON text ("" where the type's own is meant)
  DS_Versions versions;
  std::string nestedClass; // a nested part: the class whose record (with its header) goes here
  std::string nestedKey;   // and the key of its description (see DS_DeclaredRecords)
  std::string step;        // a step: what it reads
  std::optional<DS_Range> range;  // a whole number within it, where the record says
};
struct DS_DeclaredRecord {
  std::string className;
  uint32_t version = 0;
  uint32_t minVersion = 0;
  std::string about;
  std::vector<DS_DeclaredField> fields;
};
// Every record met while describing one class, by key: the class's own record under its class
// name, each nested part under "<outer key>/<part class>" (a part's defaults are those it has
// inside its outer class, which may set them otherwise than the part's own class does).
using DS_DeclaredRecords = std::map<std::string, DS_DeclaredRecord>;

// The version a class's record is written with: its kVersion, or 1 for a class that declares none.
template <class T, class = void>
struct DS_RecordVersionOf : std::integral_constant<uint32_t, 1> {};
template <class T>
struct DS_RecordVersionOf<T, std::void_t<decltype(T::kVersion)>> : std::integral_constant<uint32_t, T::kVersion> {};
template <class T, class = void>
struct DS_RecordMinVersionOf : DS_RecordVersionOf<T> {};
template <class T>
struct DS_RecordMinVersionOf<T, std::void_t<decltype(T::kMinVersion)>>
    : std::integral_constant<uint32_t, T::kMinVersion> {};

// Walks T's own record (not that of a class derived from it) with a pass.
template <class T, class Pass>
void DS_WalkRecord(T& object, Pass& pass) {
  object.T::Record(pass);
}

class DS_RecordReader {
 public:
  DS_RecordReader(DS_IOF_Virtual& in, uint32_t version) : m_In(in), m_Version(version) {}

  void About(const char*) {}
  template <class M>
  void Field(const char*, M&& member, DS_Versions versions = {}) {
    if (versions.Holds(m_Version)) DS_Value<std::remove_cv_t<std::remove_reference_t<M>>>::Read(m_In, member);
  }
  template <class M>
  void Field(const char* name, M&& member, DS_Range, DS_Versions versions = {}) {
    Field(name, std::forward<M>(member), versions);
  }
  // A nested part: its header, then its record in the header's version (the name is not
  // compared: the part is known by its place).
  template <class P>
  void Base(const char*, P& part, DS_Versions versions = {}) {
    if (!versions.Holds(m_Version)) return;
    const DS_ObjectHeader header = DS_ReadHeader(m_In);
    DS_RecordReader inner(m_In, header.version);
    DS_WalkRecord(part, inner);
  }
  // A nested record held by name (a class the outer record holds more than once): as a part.
  template <class P>
  void Part(const char*, const char* className, P& part, DS_Versions versions = {}) {
    Base(className, part, versions);
  }
  void Step(const DS_Step& step) {
    if (step.versions.Holds(m_Version)) step.read(m_In, m_Version);
  }
  uint32_t Version() const { return m_Version; }

 private:
  DS_IOF_Virtual& m_In;
  uint32_t m_Version;
};

class DS_RecordWriter {
 public:
  DS_RecordWriter(DS_IOF_Virtual& out, uint32_t version) : m_Out(out), m_Version(version) {}

  void About(const char*) {}
  template <class M>
  void Field(const char*, M&& member, DS_Versions versions = {}) {
    if (versions.Holds(m_Version)) DS_Value<std::remove_cv_t<std::remove_reference_t<M>>>::Write(m_Out, member);
  }
  template <class M>
  void Field(const char* name, M&& member, DS_Range, DS_Versions versions = {}) {
    Field(name, std::forward<M>(member), versions);
  }
  // Nested parts are written in the version their class writes.
  template <class P>
  void Base(const char* className, P& part, DS_Versions versions = {}) {
    if (!versions.Holds(m_Version)) return;
    const uint32_t version = DS_RecordVersionOf<P>::value;
    DS_WriteHeader(m_Out, DsFromUtf8(className), version);
    DS_RecordWriter inner(m_Out, version);
    DS_WalkRecord(part, inner);
  }
  template <class P>
  void Part(const char*, const char* className, P& part, DS_Versions versions = {}) {
    Base(className, part, versions);
  }
  void Step(const DS_Step& step) {
    if (step.versions.Holds(m_Version)) step.write(m_Out, m_Version);
  }
  uint32_t Version() const { return m_Version; }

 private:
  DS_IOF_Virtual& m_Out;
  uint32_t m_Version;
};

class DS_RecordDescriber {
 public:
  DS_RecordDescriber(DS_DeclaredRecords& records, std::string key, std::string className, uint32_t version,
                     uint32_t minVersion)
      : m_Records(records), m_Key(std::move(key)) {
    DS_DeclaredRecord& record = m_Records[m_Key];
    record.className = std::move(className);
    record.version = version;
    record.minVersion = minVersion;
  }

  void About(const char* text) { Own().about = text; }
  template <class M>
  void Field(const char* name, M&& member, DS_Versions versions = {}) {
    using V = DS_Value<std::remove_cv_t<std::remove_reference_t<M>>>;
    DS_DeclaredField field;
    field.name = name;
    field.type = V::Type();
    field.value = V::Text(member);
    field.versions = versions;
    Own().fields.push_back(std::move(field));
  }
  template <class M>
  void Field(const char* name, M&& member, DS_Range range, DS_Versions versions = {}) {
    Field(name, std::forward<M>(member), versions);
    Own().fields.back().range = range;
  }
  template <class P>
  void Base(const char* className, P& part, DS_Versions versions = {}) {
    DS_DeclaredField field;
    field.nestedClass = className;
    field.nestedKey = m_Key + "/" + className;
    field.versions = versions;
    Own().fields.push_back(field);
    DS_RecordDescriber inner(m_Records, field.nestedKey, className, DS_RecordVersionOf<P>::value,
                             DS_RecordMinVersionOf<P>::value);
    DS_WalkRecord(part, inner);
  }
  // Described as a field of its own whose value is the part's record, under "<outer>/<name>".
  template <class P>
  void Part(const char* name, const char* className, P& part, DS_Versions versions = {}) {
    DS_DeclaredField field;
    field.name = name;
    field.nestedClass = className;
    field.nestedKey = m_Key + "/" + name;
    field.versions = versions;
    Own().fields.push_back(field);
    DS_RecordDescriber inner(m_Records, field.nestedKey, className, DS_RecordVersionOf<P>::value,
                             DS_RecordMinVersionOf<P>::value);
    DS_WalkRecord(part, inner);
  }
  void Step(const DS_Step& step) {
    DS_DeclaredField field;
    field.step = step.what;
    field.versions = step.versions;
    Own().fields.push_back(std::move(field));
  }

 private:
  DS_DeclaredRecord& Own() { return m_Records[m_Key]; }

  DS_DeclaredRecords& m_Records;
  std::string m_Key;
};

// True when T declares its own record (not only inherits one).
template <class T, class = void>
struct DS_HasRecord : std::false_type {};
template <class T>
struct DS_HasRecord<T, std::void_t<decltype(&T::template Record<DS_RecordReader>)>>
    : std::is_same<decltype(&T::template Record<DS_RecordReader>), void (T::*)(DS_RecordReader&)> {};

// The record's fields after its header, in `version`.
template <class T>
void DS_ReadRecordFields(DS_IOF_Virtual& in, T& object, uint32_t version) {
  DS_RecordReader reader(in, version);
  DS_WalkRecord(object, reader);
}
// The whole record: header (class name, version), then the fields of that version.
template <class T>
void DS_WriteRecord(DS_IOF_Virtual& out, const T& object, const char* className,
                    uint32_t version = DS_RecordVersionOf<T>::value) {
  DS_WriteHeader(out, DsFromUtf8(className), version);
  DS_RecordWriter writer(out, version);
  DS_WalkRecord(const_cast<T&>(object), writer);
}
template <class T>
void DS_WriteRecord(DS_IOF_Virtual& out, const T& object, const char16_t* className,
                    uint32_t version = DS_RecordVersionOf<T>::value) {
  DS_WriteRecord(out, object, DsToUtf8(className).c_str(), version);
}
// A nested record as its outer class reads it: its header, then its fields in the header's version.
template <class T>
void DS_ReadNestedRecord(DS_IOF_Virtual& in, T& object) {
  const DS_ObjectHeader header = DS_ReadHeader(in);
  DS_ReadRecordFields(in, object, header.version);
}
// The records of T (its own under `className`) with the defaults of a default-made T.
template <class T>
DS_DeclaredRecords DS_DescribeRecord(const char* className) {
  DS_DeclaredRecords records;
  auto object = std::make_unique<T>();
  DS_RecordDescriber describer(records, className, className, DS_RecordVersionOf<T>::value,
                               DS_RecordMinVersionOf<T>::value);
  DS_WalkRecord(*object, describer);
  return records;
}
