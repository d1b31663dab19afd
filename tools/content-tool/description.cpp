#include "tools/content-tool/description.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>

#include "core/data/ds_stream.h"
#include "core/data/file_links.h"
#include "core/resources/resource_record.h"
#include "tools/content-tool/records.h"

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// An error in one entry of the description; the caller adds the file name.
struct EntryError : std::runtime_error {
  EntryError(const std::string& where, const std::string& what) : std::runtime_error(where + ": " + what) {}
};

// A solid picture as a 24-bit BMP, which the texture loader reads like any picture file.
std::vector<uint8_t> SolidBitmap(uint32_t rgb, int width, int height) {
  const int row = (width * 3 + 3) & ~3;
  const uint32_t pixels = static_cast<uint32_t>(row * height);
  std::vector<uint8_t> b;
  auto u16 = [&](uint32_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  b.push_back('B');
  b.push_back('M');
  u32(54 + pixels);
  u32(0);
  u32(54);
  u32(40);
  u32(static_cast<uint32_t>(width));
  u32(static_cast<uint32_t>(height));
  u16(1);
  u16(24);
  u32(0);
  u32(pixels);
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      b.push_back(uint8_t(rgb));        // blue
      b.push_back(uint8_t(rgb >> 8));   // green
      b.push_back(uint8_t(rgb >> 16));  // red
    }
    for (int pad = width * 3; pad < row; ++pad) b.push_back(0);
  }
  return b;
}

class DocumentBuilder {
 public:
  DocumentBuilder(const DS_ContentOptions& options, const DS_RecordBook& records)
      : m_Options(options), m_Records(records) {
    m_BaseDir = fs::path(options.descriptionPath).parent_path();
  }

  std::vector<uint8_t> Build(const json& scene) {
    if (!scene.is_object()) throw EntryError("(top)", "the description is not a JSON object");
    OnlyKeys(scene, {"tag", "slides", "music", "effects", "masks"}, "(top)");
    m_Out.WriteString(DsFromUtf8(Text(scene, "tag", "(top)", "QXJ v 4.0.0")));
    DS_WriteHeader(m_Out, u"DS_SlideShow_Light", 1);
    const json& slides = List(scene, "slides", "(top)");
    if (slides.empty()) throw EntryError("slides", "a scene needs at least one slide");
    m_Out.WriteULong(static_cast<uint32_t>(slides.size()));
    for (size_t i = 0; i < slides.size(); ++i) WriteSlide(slides[i], "slides[" + std::to_string(i) + "]");
    const json& music = List(scene, "music", "(top)");
    m_Out.WriteULong(static_cast<uint32_t>(music.size()));
    for (size_t i = 0; i < music.size(); ++i) WriteMusic(music[i], "music[" + std::to_string(i) + "]");
    const json& effects = List(scene, "effects", "(top)");
    for (size_t i = 0; i < effects.size(); ++i) AddEffect(effects[i], "effects[" + std::to_string(i) + "]");
    for (const auto& [id, file] : m_Options.carriedEffects) AddCarriedEffect(id, file);
    const json& masks = List(scene, "masks", "(top)");
    for (size_t i = 0; i < masks.size(); ++i) AddMask(masks[i], "masks[" + std::to_string(i) + "]");
    DS_WriteHeader(m_Out, u"DS_DocResManager", 3);
    WriteResourceRecordTables(m_Out, m_Pictures, DS_FrameTimeTable(), m_Saved, m_Masks);
    return m_Out.TakeBytes();
  }

 private:
  // Access with the entry's path in every error ----------------------------------------------
  static const json& List(const json& owner, const char* key, const std::string& where) {
    static const json empty = json::array();
    if (!owner.contains(key)) return empty;
    const json& value = owner.at(key);
    if (!value.is_array()) throw EntryError(where + "." + key, "must be a list");
    return value;
  }
  // Every key of an entry must be one it has: a misspelt key is an error, not a default.
  static void OnlyKeys(const json& owner, std::initializer_list<const char*> keys, const std::string& where) {
    OnlyKeys(owner, std::vector<std::string>(keys.begin(), keys.end()), where);
  }
  static void OnlyKeys(const json& owner, const std::vector<std::string>& keys, const std::string& where) {
    for (const auto& item : owner.items()) {
      if (std::find(keys.begin(), keys.end(), item.key()) != keys.end()) continue;
      std::string known;
      for (const std::string& k : keys) known += (known.empty() ? "" : ", ") + k;
      throw EntryError(where, "unknown key \"" + item.key() + "\" (" + known + ")");
    }
  }
  static std::string Text(const json& owner, const char* key, const std::string& where, const char* fallback) {
    if (!owner.contains(key)) {
      if (fallback) return fallback;
      throw EntryError(where, std::string("\"") + key + "\" is missing");
    }
    const json& value = owner.at(key);
    if (!value.is_string()) throw EntryError(where + "." + key, "must be a string");
    return value.get<std::string>();
  }
  static int64_t Number(const json& owner, const char* key, const std::string& where, int64_t fallback,
                        int64_t low, int64_t high) {
    if (!owner.contains(key)) return fallback;
    return Checked(owner.at(key), where + "." + key, low, high);
  }
  static int64_t Checked(const json& value, const std::string& where, int64_t low, int64_t high) {
    if (!value.is_number_integer()) throw EntryError(where, "must be a whole number");
    const int64_t n = value.get<int64_t>();
    if (n < low || n > high) {
      throw EntryError(where, std::to_string(n) + " is outside " + std::to_string(low) + ".." + std::to_string(high));
    }
    return n;
  }

  std::vector<uint8_t> ReadFile(const std::string& name, const std::string& where) const {
    std::vector<fs::path> candidates;
    const fs::path path(name);
    if (path.is_absolute()) {
      candidates.push_back(path);
    } else {
      candidates.push_back(m_BaseDir / path);
      for (const auto& dir : m_Options.searchDirs) candidates.push_back(fs::path(dir) / path);
    }
    for (const auto& candidate : candidates) {
      std::ifstream file(candidate, std::ios::binary);
      if (!file) continue;
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
      if (bytes.empty()) throw EntryError(where, "the file " + candidate.string() + " is empty");
      return bytes;
    }
    throw EntryError(where, "the file \"" + name + "\" is not found");
  }

  // Pictures -----------------------------------------------------------------------------------
  // The bytes a picture or mask source names: a file, or a solid colour.
  std::vector<uint8_t> PictureBytes(const json& source, const std::string& where, std::string& label) const {
    if (source.contains("file")) {
      label = Text(source, "file", where, nullptr);
      return ReadFile(label, where + ".file");
    }
    if (source.contains("colour")) {
      const std::string colour = Text(source, "colour", where, nullptr);
      unsigned rgb = 0;
      char tail = 0;
      if (colour.size() != 7 || colour[0] != '#' || std::sscanf(colour.c_str() + 1, "%6x%c", &rgb, &tail) != 1)
        throw EntryError(where + ".colour", "\"" + colour + "\" is not of the form #RRGGBB");
      const int width = static_cast<int>(Number(source, "width", where, 64, 1, 4096));
      const int height = static_cast<int>(Number(source, "height", where, 64, 1, 4096));
      label = "colour " + colour + " " + std::to_string(width) + "x" + std::to_string(height) + ".bmp";
      return SolidBitmap(rgb, width, height);
    }
    throw EntryError(where, "names neither a \"file\" nor a \"colour\"");
  }

  // The link key of a picture; an embedded picture goes into the manager's picture table under
  // it (a library key with its own bytes overrides the library's picture for this document).
  DS_ResourceKey PictureKey(const json& picture, const std::string& where) {
    if (!picture.is_object()) throw EntryError(where, "must be an object");
    OnlyKeys(picture, {"library", "id", "file", "colour", "width", "height"}, where);
    const bool inLibrary = picture.contains("library") || picture.contains("id");
    const bool embedded = picture.contains("file") || picture.contains("colour");
    DS_ResourceKey key;
    if (inLibrary) {
      key.name = DsFromUtf8(Text(picture, "library", where, "common_res.dll"));
      key.stamp = Checked(picture.contains("id") ? picture.at("id") : json(), where + ".id", 1, 0xFFFF);
    }
    if (!embedded) {
      if (!inLibrary) throw EntryError(where, "names no library id, file or colour");
      return key;
    }
    std::string label;
    std::vector<uint8_t> bytes = PictureBytes(picture, where, label);
    if (!inLibrary) {
      const auto known = m_EmbeddedKeys.find(label);
      if (known != m_EmbeddedKeys.end()) return known->second;
      key.name = DsFromUtf8(label);
      key.stamp = ++m_EmbeddedCount;
      m_EmbeddedKeys[label] = key;
    }
    DS_ResourceEntry entry;
    entry.name = DsFromUtf8(label);
    entry.SetData(static_cast<uint32_t>(bytes.size()), bytes.data());
    auto& entries = m_Pictures[key];
    if (entries.empty()) entries.push_back(std::move(entry));
    return key;
  }

  void WriteLink(const DS_ResourceKey& key) {
    m_Out.WriteString(key.name);
    m_Out.WriteInt64(key.stamp);
  }

  // Records ------------------------------------------------------------------------------------
  // The slide's record as its class lists it; its layer and object lists as their own
  // descriptions say. The keys are listed here in the order a description names them.
  void WriteSlide(const json& slide, const std::string& where) {
    if (!slide.is_object()) throw EntryError(where, "must be an object");
    OnlyKeys(slide, {"name", "fade_in", "display", "fade_out", "further", "layer", "objects", "list2"}, where);
    std::set<std::string> used;
    WriteNamedRecord("DS_SlideContainer", slide, where, used);
  }

  // A layer kind's own fields (named, or positional with "fields"), then the base layer part
  // (picture and camera) as the base layer lists it.
  void WriteLayer(const json& layer, const std::string& where) {
    if (!layer.is_object()) throw EntryError(where, "must be an object");
    const std::string base = DS_RecordBook::kBaseLayer;
    const std::string kind = Text(layer, "class", where, base.c_str());
    if (kind.empty()) throw EntryError(where + ".class", "is empty");
    std::set<std::string> used = {"class"};
    if (kind != base && layer.contains("fields")) {
      std::vector<std::string> keys = {"class", "version", "fields"};
      for (const std::string& name : m_Records.FieldNames(base)) keys.push_back(name);
      OnlyKeys(layer, keys, where);
      DS_WriteHeader(m_Out, DsFromUtf8(kind), static_cast<uint32_t>(Number(layer, "version", where, 1, 0, 1000)));
      WriteFields(List(layer, "fields", where), where + ".fields");
      used.insert({"version", "fields"});
    } else if (kind != base) {
      WriteNamedRecord(kind, layer, where, used);
    }
    // A misspelt camera setting is named with the camera's own keys.
    if (layer.contains("camera") && layer.at("camera").is_object())
      OnlyKeys(layer.at("camera"), m_Records.FieldNames(base + "/camera"), where + ".camera");
    WriteNamedRecord(base, layer, where, used);
    RejectUnknown(layer, used, kind == base ? std::vector<std::string>{base} : std::vector<std::string>{kind, base}, where);
  }

  // An object record: named fields after its record description, or (with "fields") the
  // positional form, written value by value as listed.
  void WriteObject(const json& object, const std::string& where) {
    if (!object.is_object()) throw EntryError(where, "must be an object");
    const std::string kind = Text(object, "class", where, nullptr);
    if (kind.empty()) throw EntryError(where + ".class", "is empty");
    if (!object.contains("fields")) {
      WriteNamedObject(kind, object, where, {});
      return;
    }
    OnlyKeys(object, {"class", "version", "fields"}, where);
    DS_WriteHeader(m_Out, DsFromUtf8(kind), static_cast<uint32_t>(Number(object, "version", where, 1, 0, 1000)));
    WriteFields(List(object, "fields", where), where + ".fields");
  }

  // The positional form: a list of one-value objects {"<type>": value}, written as listed.
  void WriteFields(const json& fields, const std::string& where) {
    for (size_t i = 0; i < fields.size(); ++i) {
      const std::string at = where + "[" + std::to_string(i) + "]";
      const json& field = fields[i];
      if (!field.is_object() || field.size() != 1) throw EntryError(at, "must be an object of one typed value");
      const std::string type = field.begin().key();
      const json& v = field.begin().value();
      if (type == "header") {
        if (!v.is_array() || v.size() != 2 || !v[0].is_string()) throw EntryError(at, "must be [\"Class\", version]");
        DS_WriteHeader(m_Out, DsFromUtf8(v[0].get<std::string>()), static_cast<uint32_t>(Checked(v[1], at, 0, 1000)));
      } else if (DS_RecordBook::IsScalarType(type)) {
        WriteValue(type, v, type == "picture" ? at + ".picture" : at);
      } else {
        throw EntryError(at, "unknown field type \"" + type + "\"");
      }
    }
  }

  // One value of a scalar type, or a slide's layer or object list. A whole number lies within
  // its type and `range` where a record gives one. A picture given as null is the empty link
  // (names nothing).
  void WriteValue(const std::string& type, const json& v, const std::string& at, const DS_Range* range = nullptr) {
    const auto whole = [&](int64_t low, int64_t high) {
      return range ? Checked(v, at, std::max(low, range->low), std::min(high, range->high)) : Checked(v, at, low, high);
    };
    if (type == "uint" || type == "ulong") {
      const auto n = static_cast<uint32_t>(whole(0, UINT32_MAX));
      type == "uint" ? m_Out.WriteUInt(n) : m_Out.WriteULong(n);
    } else if (type == "int") {
      m_Out.WriteInt(static_cast<int32_t>(whole(INT32_MIN, INT32_MAX)));
    } else if (type == "byte") {
      m_Out.WriteByte(static_cast<uint8_t>(whole(0, 255)));
    } else if (type == "bool") {
      if (!v.is_boolean()) throw EntryError(at, "must be true or false");
      m_Out.WriteBool(v.get<bool>());
    } else if (type == "float") {
      if (!v.is_number()) throw EntryError(at, "must be a number");
      m_Out.WriteFloat(v.get<float>());
    } else if (type == "int64") {
      m_Out.WriteInt64(whole(INT64_MIN, INT64_MAX));
    } else if (type == "point") {
      if (!v.is_array() || v.size() != 2) throw EntryError(at, "must be [x, y]");
      DS_Point p;
      p.x = static_cast<int32_t>(Checked(v[0], at, INT32_MIN, INT32_MAX));
      p.y = static_cast<int32_t>(Checked(v[1], at, INT32_MIN, INT32_MAX));
      m_Out.WritePoint(p);
    } else if (type == "string") {
      if (!v.is_string()) throw EntryError(at, "must be a string");
      m_Out.WriteString(DsFromUtf8(v.get<std::string>()));
    } else if (type == "picture") {
      WriteLink(v.is_null() ? DS_ResourceKey() : PictureKey(v, at));
    } else if (type == "layer") {
      WriteLayer(v, at);
    } else if (type == "objects") {
      if (!v.is_array()) throw EntryError(at, "must be a list");
      m_Out.WriteULong(static_cast<uint32_t>(v.size()));
      for (size_t i = 0; i < v.size(); ++i) WriteObject(v[i], at + "[" + std::to_string(i) + "]");
    } else if (type == "guid") {
      DS_Guid guid;
      if (!v.is_string() || !DS_GuidFromString(DsFromUtf8(v.get<std::string>()), guid))
        throw EntryError(at, "must be a GUID of the form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}");
      WriteGuid(m_Out, guid);
    } else {
      throw EntryError(at, "unknown field type \"" + type + "\"");
    }
  }

  // The named form: the record of `className` as its description lists it, each field taken
  // from the object by name or from its default, base parts with their own headers. Names
  // taken are added to `used`.
  void WriteNamedRecord(const std::string& className, const json& object, const std::string& where,
                        std::set<std::string>& used) {
    const DS_RecordDescription* record = m_Records.Find(className);
    if (!record) throw EntryError(where, "no record description of " + className + " (add records/" + className + ".json)");
    DS_WriteHeader(m_Out, DsFromUtf8(record->className), record->version);
    for (const DS_RecordItem& item : record->items) {
      if (!item.baseClass.empty()) {
        WriteNamedRecord(item.baseClass, object, where, used);
        continue;
      }
      used.insert(item.name);
      const bool given = object.contains(item.name);
      const json& value = given ? object.at(item.name) : item.value;
      const std::string at = given ? where + "." + item.name
                                   : where + "." + item.name + " (the default in " + record->file + ")";
      WriteTyped(item, value, at);
    }
  }

  void WriteTyped(const DS_RecordItem& item, const json& value, const std::string& at) {
    const DS_FieldType& type = item.type;
    const DS_Range* range = item.range ? &*item.range : nullptr;
    if (!type.recordClass.empty()) {
      const json& fields = value.is_null() ? json::object() : value;
      WriteNamedObject(type.recordClass, fields, at, {});
    } else if (type.count == 0) {
      WriteValue(type.scalar, value.is_null() ? TypeDefault(type.scalar) : value, at, range);
    } else {
      if (value.is_null()) {
        for (size_t i = 0; i < type.count; ++i) WriteValue(type.scalar, TypeDefault(type.scalar), at, range);
        return;
      }
      if (!value.is_array() || value.size() != type.count)
        throw EntryError(at, "must be a list of " + std::to_string(type.count) + " values");
      for (size_t i = 0; i < type.count; ++i)
        WriteValue(type.scalar, value[i], at + "[" + std::to_string(i) + "]", range);
    }
  }

  // A whole named record; every key of the object must be a field of the class or its bases
  // (or one of `reserved`, which the caller writes itself).
  void WriteNamedObject(const std::string& className, const json& object, const std::string& where,
                        std::set<std::string> reserved) {
    if (!object.is_object()) throw EntryError(where, "must be an object of named fields");
    std::set<std::string>& used = reserved;
    used.insert("class");
    WriteNamedRecord(className, object, where, used);
    RejectUnknown(object, used, {className}, where);
  }

  // Every key of the object was taken (`used`); else the first other is named with the fields of
  // the records written, the first of which names the object's class.
  void RejectUnknown(const json& object, const std::set<std::string>& used, const std::vector<std::string>& classes,
                     const std::string& where) const {
    for (const auto& [key, value] : object.items()) {
      (void)value;
      if (used.count(key)) continue;
      std::string known;
      for (const std::string& className : classes)
        for (const std::string& name : m_Records.FieldNames(className)) known += (known.empty() ? "" : ", ") + name;
      throw EntryError(where, "unknown field \"" + key + "\" of " + classes.front() + " (its fields: " + known + ")");
    }
  }

  static json TypeDefault(const std::string& type) {
    if (type == "bool") return false;
    if (type == "string") return "";
    if (type == "point") return json::array({0, 0});
    if (type == "guid") return "{00000000-0000-0000-0000-000000000000}";
    if (type == "picture") return nullptr;
    if (type == "layer") return json::object();
    if (type == "objects") return json::array();
    return 0;
  }

  void WriteMusic(const json& music, const std::string& where) {
    if (!music.is_object()) throw EntryError(where, "must be an object");
    OnlyKeys(music, {"name", "file", "path"}, where);
    const std::string file = Text(music, "file", where, nullptr);
    DS_NamedBlob blob;
    const auto bytes = ReadFile(file, where + ".file");
    blob.name = DsFromUtf8(Text(music, "path", where, fs::path(file).filename().string().c_str()));
    blob.SetData(static_cast<uint32_t>(bytes.size()), bytes.data());
    DS_WriteHeader(m_Out, u"DS_AudioFile", 1);
    m_Out.WriteString(DsFromUtf8(Text(music, "name", where, "")));
    m_Out.WriteNamedBlob(blob);
  }

  // A compiled effect in the saved resources under its library key (id, library, bytes, no name).
  void AddEffect(const json& effect, const std::string& where) {
    if (!effect.is_object()) throw EntryError(where, "must be an object");
    OnlyKeys(effect, {"library", "id", "file"}, where);
    DS_ResourceKey key;
    key.name = DsFromUtf8(Text(effect, "library", where, "common_res.dll"));
    key.stamp = Checked(effect.contains("id") ? effect.at("id") : json(), where + ".id", 1, 0xFFFF);
    DS_ResourceEntry entry(static_cast<int>(key.stamp), key.name);
    const auto bytes = ReadFile(Text(effect, "file", where, nullptr), where + ".file");
    entry.SetData(static_cast<uint32_t>(bytes.size()), bytes.data());
    m_Saved[key].push_back(std::move(entry));
  }

  // An effect the scene carries by default, unless the description's "effects" name its key.
  void AddCarriedEffect(int64_t id, const std::string& file) {
    DS_ResourceKey key;
    key.name = u"common_res.dll";
    key.stamp = id;
    if (m_Saved.count(key)) return;
    DS_ResourceEntry entry(static_cast<int>(id), key.name);
    const auto bytes = ReadFile(file, "the carried effect " + std::to_string(id));
    entry.SetData(static_cast<uint32_t>(bytes.size()), bytes.data());
    m_Saved[key].push_back(std::move(entry));
  }

  void AddMask(const json& mask, const std::string& where) {
    if (!mask.is_object()) throw EntryError(where, "must be an object");
    OnlyKeys(mask, {"guid", "name", "flag", "picture"}, where);
    DS_MaskEntry entry;
    if (!DS_GuidFromString(DsFromUtf8(Text(mask, "guid", where, nullptr)), entry.id))
      throw EntryError(where + ".guid", "is not a GUID of the form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}");
    entry.name = DsFromUtf8(Text(mask, "name", where, ""));
    if (mask.contains("flag") && !mask.at("flag").is_boolean()) throw EntryError(where + ".flag", "must be true or false");
    entry.flag = !mask.contains("flag") || mask.at("flag").get<bool>();
    std::string label;
    const auto bytes = PictureBytes(mask.contains("picture") ? mask.at("picture") : json::object(), where + ".picture", label);
    entry.blob.name = DsFromUtf8(label);
    entry.blob.SetData(static_cast<uint32_t>(bytes.size()), bytes.data());
    if (!m_Masks.insert(std::move(entry)).second) throw EntryError(where + ".guid", "is used by an earlier mask");
  }

  const DS_ContentOptions& m_Options;
  const DS_RecordBook& m_Records;
  fs::path m_BaseDir;
  DS_IOF_ByteWriter m_Out;
  DS_EntryTable m_Pictures;
  DS_EntryTable m_Saved;
  DS_MaskSet m_Masks;
  std::map<std::string, DS_ResourceKey> m_EmbeddedKeys;
  int64_t m_EmbeddedCount = 0;
};

}  // namespace

std::vector<uint8_t> BuildSceneDocument(const DS_ContentOptions& options) {
  const std::string& path = options.descriptionPath;
  std::ifstream file(path);
  if (!file) throw std::runtime_error(path + ": cannot be read");
  json scene;
  try {
    scene = json::parse(file);
  } catch (const json::exception& e) {
    throw std::runtime_error(path + ": not valid JSON: " + e.what());
  }
  DS_RecordBook records;
  records.LoadDeclared();
  for (const auto& folder : options.recordFolders) records.LoadFolder(folder);
  records.Check();
  try {
    return DocumentBuilder(options, records).Build(scene);
  } catch (const EntryError& e) {
    throw std::runtime_error(path + ": " + e.what());
  } catch (const json::exception& e) {
    throw std::runtime_error(path + ": " + e.what());
  }
}
