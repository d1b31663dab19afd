// Record descriptions: for each stored class, the fields of its record in the order they are
// written, with their types and defaults, and where its nested base parts go. One JSON file per
// class in a records folder (tools/content-tool/records and the folders given with -R); see
// README.md beside this file for the form.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/data/ds_record.h"

// One written value: a scalar type ("uint", "float", "picture", ...), an array of a scalar type
// ("float[4]": count 4), or a nested record with its own header ("record DS_FireFX").
struct DS_FieldType {
  std::string scalar;       // empty for a nested record
  size_t count = 0;         // 0: one value; n: a list of exactly n values
  std::string recordClass;  // the nested record's class
};

struct DS_RecordItem {
  std::string name;       // a field's name; empty for a base part
  DS_FieldType type;
  nlohmann::json value;   // the field's default (null: the type's own)
  std::string baseClass;  // a base part: the class whose record is written here
  std::optional<DS_Range> range;  // a whole number that must lie within it
};

struct DS_RecordDescription {
  std::string className;
  uint32_t version = 1;
  std::vector<DS_RecordItem> items;
  std::string file;  // where it was read, for messages
};

class DS_RecordBook {
 public:
  // The records the registered classes list themselves (core/data/ds_record.h): each class
  // under its name, each of its nested parts under "<outer>/<part>" with the defaults it has
  // there. Read first, so that a folder describing one of them again is refused.
  void LoadDeclared();
  // Reads every <class>.json of the folder; a class described twice, a malformed file or an
  // unknown type throws std::runtime_error naming the file.
  void LoadFolder(const std::string& folder);
  // After the folders are read: every base part and record field names a described class, no
  // class holds itself, and no field name is used twice within a class and its bases.
  void Check() const;

  const DS_RecordDescription* Find(const std::string& className) const;
  // The field names of a class and its bases, in record order.
  std::vector<std::string> FieldNames(const std::string& className) const;

  // The type names a field can have (a scalar type, optionally as an array).
  static bool IsScalarType(const std::string& name);
  // The parts of a slide that the tool writes through its own descriptions: "layer" (a layer
  // description) and "objects" (a list of object descriptions).
  static bool IsHeldType(const std::string& name);

  // The base layer part that follows every layer kind's own fields.
  static constexpr const char* kBaseLayer = "DS_2D_Light";

 private:
  void AddSharedParts();
  void CheckNesting(const std::string& className, std::vector<std::string>& path) const;
  void CollectNames(const std::string& className, std::vector<std::string>& names, std::vector<std::string>& path) const;

  std::map<std::string, DS_RecordDescription> m_Records;
  std::set<std::string> m_Shared;  // shared parts entered from the classes (AddSharedParts)
};
