#include "core/layer/layer_registry.h"
#include "scene/slide_registry.h"
#include "tools/content-tool/records.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <stdexcept>

#include "core/data/class_registry.h"
#include "core/layer/ds_2d_light_params.h"
#include "core/layer/layer_parts.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

const char* const kScalarTypes[] = {"uint", "ulong", "int", "byte", "bool", "float", "int64",
                                    "point", "string", "guid", "picture"};

const char* const kHeldTypes[] = {"layer", "objects"};

// Keys of a description object that are not fields.
const char* const kReservedNames[] = {"class", "fields", "version"};

std::runtime_error FileError(const std::string& file, const std::string& what) {
  return std::runtime_error(file + ": " + what);
}

DS_FieldType ParseType(const std::string& text, const std::string& file, const std::string& where) {
  DS_FieldType type;
  static const std::regex record("^record ([A-Za-z_][A-Za-z0-9_]*)$");
  static const std::regex array("^([a-z0-9]+)\\[([1-9][0-9]{0,2})\\]$");
  std::smatch match;
  if (std::regex_match(text, match, record)) {
    type.recordClass = match[1];
    return type;
  }
  if (std::regex_match(text, match, array)) {
    type.scalar = match[1];
    type.count = std::stoul(match[2]);
  } else {
    type.scalar = text;
  }
  if (!DS_RecordBook::IsScalarType(type.scalar) && !DS_RecordBook::IsHeldType(type.scalar))
    throw FileError(file, where + ": unknown type \"" + text + "\" (a scalar type, \"<type>[n]\" or \"record <Class>\")");
  return type;
}

DS_RecordDescription ParseDescription(const json& doc, const std::string& file) {
  if (!doc.is_object()) throw FileError(file, "is not a JSON object");
  DS_RecordDescription d;
  d.file = file;
  if (!doc.contains("class") || !doc.at("class").is_string() || doc.at("class").get<std::string>().empty())
    throw FileError(file, "\"class\" must name the class");
  d.className = doc.at("class").get<std::string>();
  if (!doc.contains("version") || !doc.at("version").is_number_unsigned() || doc.at("version").get<uint64_t>() > 1000)
    throw FileError(file, "\"version\" must be the record's version, 0..1000");
  d.version = doc.at("version").get<uint32_t>();
  for (const auto& [key, value] : doc.items()) {
    if (key != "class" && key != "version" && key != "record" && key != "about")
      throw FileError(file, "unknown key \"" + key + "\" (class, version, record, about)");
    (void)value;
  }
  if (!doc.contains("record") || !doc.at("record").is_array()) throw FileError(file, "\"record\" must be the list of fields");
  const json& items = doc.at("record");
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string where = "record[" + std::to_string(i) + "]";
    const json& item = items[i];
    if (!item.is_object()) throw FileError(file, where + ": must be an object");
    DS_RecordItem entry;
    if (item.contains("base")) {
      if (item.size() != 1 || !item.at("base").is_string())
        throw FileError(file, where + ": a base part is { \"base\": \"<Class>\" } alone");
      entry.baseClass = item.at("base").get<std::string>();
      d.items.push_back(std::move(entry));
      continue;
    }
    for (const auto& [key, value] : item.items()) {
      if (key != "name" && key != "type" && key != "default" && key != "about")
        throw FileError(file, where + ": unknown key \"" + key + "\" (name, type, default, about)");
      (void)value;
    }
    if (!item.contains("name") || !item.at("name").is_string() || item.at("name").get<std::string>().empty())
      throw FileError(file, where + ": \"name\" must name the field");
    entry.name = item.at("name").get<std::string>();
    for (const char* reserved : kReservedNames) {
      if (entry.name == reserved) throw FileError(file, where + ": \"" + entry.name + "\" cannot name a field");
    }
    if (!item.contains("type") || !item.at("type").is_string()) throw FileError(file, where + ": \"type\" is missing");
    entry.type = ParseType(item.at("type").get<std::string>(), file, where + ".type");
    if (item.contains("default")) entry.value = item.at("default");
    d.items.push_back(std::move(entry));
  }
  return d;
}

}  // namespace

bool DS_RecordBook::IsScalarType(const std::string& name) {
  return std::find(std::begin(kScalarTypes), std::end(kScalarTypes), name) != std::end(kScalarTypes);
}

bool DS_RecordBook::IsHeldType(const std::string& name) {
  return std::find(std::begin(kHeldTypes), std::end(kHeldTypes), name) != std::end(kHeldTypes);
}

void DS_RecordBook::LoadFolder(const std::string& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) throw FileError(folder, "is not a folder of record descriptions");
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".json") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const auto& path : files) {
    const std::string file = path.string();
    std::ifstream in(path);
    json doc;
    try {
      doc = json::parse(in);
    } catch (const json::exception& e) {
      throw FileError(file, std::string("not valid JSON: ") + e.what());
    }
    DS_RecordDescription d = ParseDescription(doc, file);
    if (path.stem().string() != d.className) throw FileError(file, "describes " + d.className + ": name the file " + d.className + ".json");
    const auto known = m_Records.find(d.className);
    if (known != m_Records.end() && m_Shared.erase(d.className)) {
      m_Records.erase(known);  // the folder's own description of a shared part
    } else if (known != m_Records.end()) throw FileError(file, d.className + " is described already by " + known->second.file);
    m_Records.emplace(d.className, std::move(d));
  }
}

namespace {

// A declared record as the content tool writes it: the fields and parts of its current version.
DS_RecordDescription FromDeclared(const std::string& key, const DS_DeclaredRecord& declared) {
  DS_RecordDescription d;
  d.className = declared.className;
  d.version = declared.version;
  d.file = "the record " + key + " declared in its class";
  for (const DS_DeclaredField& field : declared.fields) {
    if (!field.versions.Holds(declared.version)) continue;
    if (!field.step.empty())
      throw FileError(d.file, "the step \"" + field.step + "\" is part of the current version, which the content tool writes from fields");
    DS_RecordItem item;
    if (!field.nestedClass.empty() && field.name.empty()) {
      item.baseClass = field.nestedKey;
      d.items.push_back(std::move(item));
      continue;
    }
    if (!field.nestedClass.empty()) {  // a named part: a field whose value is that record
      item.name = field.name;
      item.type.recordClass = field.nestedKey;
      d.items.push_back(std::move(item));
      continue;
    }
    item.name = field.name;
    item.type = ParseType(field.type, d.file, field.name);
    if (!field.value.empty()) item.value = json::parse(field.value);
    item.range = field.range;
    d.items.push_back(std::move(item));
  }
  return d;
}

void AddRecords(const DS_DeclaredRecords& declared, std::map<std::string, DS_RecordDescription>& records) {
  for (const auto& [key, record] : declared) records.emplace(key, FromDeclared(key, record));
}

template <class B>
void AddDeclared(const DS_ReaderMap<B>& registry, std::map<std::string, DS_RecordDescription>& records) {
  for (const auto& entry : registry) AddRecords(entry.second->Describe(), records);
}

}  // namespace

void DS_RecordBook::LoadDeclared() {
  AddDeclared(GetConstructorReaderMap(), m_Records);
  AddDeclared(GetLightReaderMap(), m_Records);
  AddDeclared(GetSlideReaderMap(), m_Records);
  // The layer kinds need the device; their own fields come from their platform-free parts, and
  // the base layer part that follows them from the base layer's stored fields.
  for (const auto& entry : GetLayerPartMap()) AddRecords(entry.second->Describe(), m_Records);
  AddRecords(DS_DescribeRecord<DS_2D_LightParams>(kBaseLayer), m_Records);
  AddSharedParts();
}

// A nested part is described under "<outer>/<part>"; a description in a records folder may also
// name a shared part by its class alone ({ "base": "DS_ViewObjCtrl" }). The description most of
// the classes that nest it give it is entered under the part's class name too, its own nested
// parts named the same way; a folder may describe the class itself instead.
void DS_RecordBook::AddSharedParts() {
  const auto plain = [](const std::string& key) { return key.substr(key.rfind('/') + 1); };
  std::map<std::string, std::vector<DS_RecordDescription>> parts;
  for (const auto& [key, d] : m_Records) {
    if (key.find('/') == std::string::npos) continue;
    DS_RecordDescription shared = d;
    for (DS_RecordItem& item : shared.items) {
      if (!item.baseClass.empty()) item.baseClass = plain(item.baseClass);
    }
    parts[d.className].push_back(std::move(shared));
  }
  const auto same = [](const DS_RecordDescription& a, const DS_RecordDescription& b) {
    if (a.version != b.version || a.items.size() != b.items.size()) return false;
    for (size_t i = 0; i < a.items.size(); ++i) {
      const DS_RecordItem &x = a.items[i], &y = b.items[i];
      if (x.name != y.name || x.baseClass != y.baseClass || x.value != y.value || x.type.scalar != y.type.scalar ||
          x.type.count != y.type.count || x.type.recordClass != y.type.recordClass)
        return false;
    }
    return true;
  };
  std::map<std::string, DS_RecordDescription> shared;
  for (const auto& entry : parts) {
    const std::string& className = entry.first;
    const std::vector<DS_RecordDescription>& descriptions = entry.second;
    if (m_Records.count(className)) continue;
    // The description most classes give the part: its own defaults, which a few kinds set
    // otherwise for themselves.
    size_t best = 0, bestCount = 0;
    for (size_t i = 0; i < descriptions.size(); ++i) {
      const auto n = static_cast<size_t>(std::count_if(descriptions.begin(), descriptions.end(),
                                                       [&](const DS_RecordDescription& d) { return same(d, descriptions[i]); }));
      if (n > bestCount) best = i, bestCount = n;
    }
    shared.emplace(className, descriptions[best]);
  }
  // A shared part whose own nested parts are not all shared is not entered either.
  for (bool dropped = true; dropped;) {
    dropped = false;
    for (auto at = shared.begin(); at != shared.end();) {
      const bool complete = std::all_of(at->second.items.begin(), at->second.items.end(), [&](const DS_RecordItem& item) {
        return item.baseClass.empty() || shared.count(item.baseClass);
      });
      if (complete) {
        ++at;
      } else {
        at = shared.erase(at);
        dropped = true;
      }
    }
  }
  for (auto& [className, d] : shared) {
    d.file = "the part " + className + " declared in its class";
    m_Records.emplace(className, std::move(d));
    m_Shared.insert(className);
  }
}

void DS_RecordBook::CollectNames(const std::string& className, std::vector<std::string>& names,
                                 std::vector<std::string>& path) const {
  const DS_RecordDescription* d = Find(className);
  if (std::find(path.begin(), path.end(), className) != path.end())
    throw FileError(d->file, className + " is its own base");
  path.push_back(className);
  for (const DS_RecordItem& item : d->items) {
    if (!item.baseClass.empty()) {
      if (!Find(item.baseClass)) throw FileError(d->file, "the base part " + item.baseClass + " is not described");
      CollectNames(item.baseClass, names, path);
      continue;
    }
    if (std::find(names.begin(), names.end(), item.name) != names.end())
      throw FileError(Find(path.front())->file, "the field name \"" + item.name + "\" is used twice in " + path.front() +
                                                  " and its bases (again in " + className + ")");
    names.push_back(item.name);
    if (!item.type.recordClass.empty() && !Find(item.type.recordClass))
      throw FileError(d->file, "the field \"" + item.name + "\" is a record of " + item.type.recordClass + ", which is not described");
  }
  path.pop_back();
}

// A record may hold another through a base part or a record field, but never itself: its
// writing would not end.
void DS_RecordBook::CheckNesting(const std::string& className, std::vector<std::string>& path) const {
  const DS_RecordDescription* d = Find(className);
  if (std::find(path.begin(), path.end(), className) != path.end())
    throw FileError(d->file, className + " holds itself (through " + path.back() + ")");
  path.push_back(className);
  for (const DS_RecordItem& item : d->items) {
    const std::string& inner = item.baseClass.empty() ? item.type.recordClass : item.baseClass;
    if (!inner.empty()) CheckNesting(inner, path);
  }
  path.pop_back();
}

void DS_RecordBook::Check() const {
  for (const auto& entry : m_Records) FieldNames(entry.first);  // every named class exists
  for (const auto& entry : m_Records) {
    std::vector<std::string> path;
    CheckNesting(entry.first, path);
  }
}

const DS_RecordDescription* DS_RecordBook::Find(const std::string& className) const {
  const auto found = m_Records.find(className);
  return found == m_Records.end() ? nullptr : &found->second;
}

std::vector<std::string> DS_RecordBook::FieldNames(const std::string& className) const {
  std::vector<std::string> names, path;
  if (Find(className)) CollectNames(className, names, path);
  return names;
}
