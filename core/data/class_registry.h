// The class registries: class name -> reader object that creates an object of that class and
// reads it from the stream. Filled before main by one static initialiser per class
// (DS_REGISTER_CONSTRUCTOR here; the rooms above register their own bases' classes the same way:
// DS_REGISTER_LAYER in core/layer/layer_registry.h, DS_REGISTER_SLIDE in
// scene/slide_registry.h); each map is a function-local static, so the order of the
// initialisers does not matter.
//
// A registered class T is default-constructible and reads its record with
// `void ReadFields(DS_IOF_Virtual& in, uint32_t version)`. It states the version it writes as
// `static constexpr uint32_t kVersion` and, when it still reads older records, the oldest as
// `kMinVersion` (without it only the current version is read). Both are looked up on T and so are
// inherited: a kind that derives from a registered class declares its own.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <type_traits>

#include "core/data/abobj_constructor.h"
#include "core/data/ds_record.h"
#include "core/data/ds_stream.h"

// Creates an object of a class derived from B and reads it with the header's version.
template <class B>
class IOF_Virtual_ReaderII {
 public:
  virtual std::unique_ptr<B> Create(DS_IOF_Virtual& in, uint32_t version) const = 0;
  // An object with the class's defaults, as a new record's reading starts from.
  virtual std::unique_ptr<B> CreateDefault() const = 0;
  // The version the class writes (0 when it declares none) and the oldest it reads.
  virtual uint32_t Version() const = 0;
  virtual uint32_t MinVersion() const = 0;
  // The records the class lists (its own under its class name, its nested parts after it; empty
  // for a class that lists none), with the defaults of a new object (core/data/ds_record.h).
  virtual DS_DeclaredRecords Describe() const = 0;
  // A new object's record, header included, in `version` (any the class reads). False, nothing
  // written, for a class that lists no record and a version other than the one it writes.
  virtual bool WriteDefault(DS_IOF_Virtual& out, uint32_t version) const = 0;

 protected:
  ~IOF_Virtual_ReaderII() = default;
};
using IOF_Virtual_Reader = IOF_Virtual_ReaderII<DS_ABObj_Constructor>;

template <class T, class = void>
struct DS_ClassVersion : std::integral_constant<uint32_t, 0> {};
template <class T>
struct DS_ClassVersion<T, std::void_t<decltype(T::kVersion)>> : std::integral_constant<uint32_t, T::kVersion> {};
template <class T, class = void>
struct DS_ClassMinVersion : DS_ClassVersion<T> {};
template <class T>
struct DS_ClassMinVersion<T, std::void_t<decltype(T::kMinVersion)>>
    : std::integral_constant<uint32_t, T::kMinVersion> {};

template <class T, class B>
class IOF_Virtual_ReaderT_II final : public IOF_Virtual_ReaderII<B> {
 public:
  std::unique_ptr<B> Create(DS_IOF_Virtual& in, uint32_t version) const override {
    auto object = std::make_unique<T>();
    object->ReadFields(in, version);
    return object;
  }
  std::unique_ptr<B> CreateDefault() const override { return std::make_unique<T>(); }
  uint32_t Version() const override { return DS_ClassVersion<T>::value; }
  uint32_t MinVersion() const override { return DS_ClassMinVersion<T>::value; }
  DS_DeclaredRecords Describe() const override {
    if constexpr (DS_HasRecord<T>::value) {
      return DS_DescribeRecord<T>(DsToUtf8(name).c_str());
    } else {
      return {};
    }
  }
  bool WriteDefault(DS_IOF_Virtual& out, uint32_t version) const override {
    const auto object = std::make_unique<T>();
    if constexpr (DS_HasRecord<T>::value) {
      DS_WriteRecord(out, *object, name.c_str(), version);
      return true;
    } else if constexpr (std::is_base_of_v<DS_IOF_Item, T>) {
      if (version != Version()) return false;
      object->Write(out);
      return true;
    } else {
      (void)out;
      (void)version;
      return false;
    }
  }
  bool registered = false;
  ds_string name;  // the name it is registered under
};
template <class T>
using IOF_Virtual_ReaderT = IOF_Virtual_ReaderT_II<T, DS_ABObj_Constructor>;

// Ordered by the standard UTF-16 comparison; lookups are exact and case-sensitive.
template <class B>
using DS_ReaderMap = std::map<ds_string, const IOF_Virtual_ReaderII<B>*>;

DS_ReaderMap<DS_ABObj_Constructor>& GetConstructorReaderMap();

// Header, then the registered reader; null (only the header consumed) for an unknown name.
template <class B>
std::unique_ptr<B> DS_ReadRegisteredObject(const DS_ReaderMap<B>& registry, DS_IOF_Virtual& in) {
  const DS_ObjectHeader header = DS_ReadHeader(in);
  const auto found = registry.find(header.className);
  if (found == registry.end()) return nullptr;
  return found->second->Create(in, header.version);
}

// Objects carry no length, so after a class name that no registry holds nothing can be read
// on: the loaders pass each polymorphic result through this and stop with DS_DocumentError.
template <class B>
std::unique_ptr<B> DS_RequireRegistered(std::unique_ptr<B> object) {
  if (!object) throw DS_DocumentError("the document names a class that no registry holds");
  return object;
}

std::unique_ptr<DS_ABObj_Constructor> ReadConstructorObject(DS_IOF_Virtual& in);

// One per registered class: enters its static reader under `key`, once.
template <class T, class B>
struct DS_ClassRegistration {
  DS_ClassRegistration(DS_ReaderMap<B>& (*registry)(), const char16_t* key) {
    static IOF_Virtual_ReaderT_II<T, B> reader;
    if (reader.registered) return;
    registry()[key] = &reader;
    reader.name = key;
    reader.registered = true;
  }
};

#define DS_REGISTER_CLASS_IN(T, B, registry) \
  static const DS_ClassRegistration<T, B> vq_registration_##T(&registry, u"" #T)
#define DS_REGISTER_CONSTRUCTOR(T) DS_REGISTER_CLASS_IN(T, DS_ABObj_Constructor, GetConstructorReaderMap)
