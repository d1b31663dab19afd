// Resource keys and the file links that hold them: the name of a file, of a resource library or
// of a resource embedded in the document, with a 64-bit stamp (file time, library resource id,
// or a running number). Also the stored string form of GUIDs.
#pragma once

#include <cstdint>

#include "core/data/ds_named_blob.h"
#include "core/data/ds_stream.h"
#include "core/data/media_param.h"

struct DS_ResourceKey {
  ds_string name;
  int64_t stamp = 0;

  // By name (code units as unsigned 16-bit numbers, a proper prefix first), then by stamp.
  friend bool operator<(const DS_ResourceKey& a, const DS_ResourceKey& b) {
    if (a.name != b.name) return a.name < b.name;
    return a.stamp < b.stamp;
  }
  friend bool operator==(const DS_ResourceKey& a, const DS_ResourceKey& b) {
    return a.stamp == b.stamp && a.name == b.name;
  }
  friend bool operator!=(const DS_ResourceKey& a, const DS_ResourceKey& b) { return !(a == b); }
};

// An observable parameter whose value is a resource key.
class DS_FileLink3 : public MediaParam {
 public:
  DS_FileLink3() = default;
  // A file: the stamp is its modification time (seconds since 1970), 0 when it cannot be read.
  explicit DS_FileLink3(const ds_string& path);
  // A library resource: the stamp is the id widened with its sign.
  DS_FileLink3(int resourceId, const ds_string& libraryPath);
  explicit DS_FileLink3(const DS_ResourceKey& key) : m_Key(key) {}
  // A library entry (id not 0): library path and the id widened without sign. An embedded
  // entry (id 0): its name and the next number of a process-wide counter.
  explicit DS_FileLink3(const DS_ResourceEntry& entry);
  DS_FileLink3(const DS_FileLink3& source) : MediaParam(), m_Key(source.m_Key) {}
  DS_FileLink3& operator=(const DS_FileLink3& source) {
    m_Key = source.m_Key;
    return *this;
  }

  void Edit(void* parent, MediaControl* originator) override;

  // From the last "." to the end, lower-cased; empty without a ".".
  ds_string GetExtension() const;
  ds_string GetName() const { return m_Key.name; }
  const DS_ResourceKey& Key() const { return m_Key; }
  // The changing convention.
  void SetKey(const DS_ResourceKey& key, MediaControl* originator = nullptr);
  // A direct store, telling nobody (stream readers).
  void StoreKey(const DS_ResourceKey& key) { m_Key = key; }

  const DS_ResourceKey& UndoValue() const { return m_Key; }
  void UndoAssign(const DS_ResourceKey& key) { m_Key = key; }

 protected:
  DS_ResourceKey m_Key;
};

// A link that names a picture or a multi-frame picture, with an undo history of keys.
class DS_ImageFileLink : public DS_FileLink3 {
 public:
  // Undo and redo always bring the link to the captured key and tell everyone but the history.
  class UndoImage final : public UndoCtrlOf<DS_ResourceKey, DS_FileLink3> {
   public:
    void Undo() override {
      StepBack();
      ApplyAlways();
    }
    void Redo() override {
      StepForward();
      ApplyAlways();
    }

   private:
    void ApplyAlways() {
      if (!m_Owner) return;
      m_Owner->UndoAssign(m_Captured);
      m_Owner->NotifyChanged(this);
    }
  };

  DS_ImageFileLink() { BindHistory(); }
  explicit DS_ImageFileLink(const DS_FileLink3& source) : DS_FileLink3(source) { BindHistory(); }
  DS_ImageFileLink(const DS_ImageFileLink& source) : DS_FileLink3(source) { BindHistory(); }
  DS_ImageFileLink& operator=(const DS_ImageFileLink& source) {
    m_Key = source.m_Key;
    m_Undo.OnChanged(nullptr);
    return *this;
  }
  ~DS_ImageFileLink() override { Remove(&m_Undo); }

  // The picture chooser of the authoring tool; the saver has none, so nothing changes.
  void Edit(void* parent, MediaControl* originator) override;
  UndoImage& History() { return m_Undo; }

 private:
  void BindHistory() {
    m_Undo.SetOwner(this);
    Attach(&m_Undo);
    m_Undo.OnChanged(nullptr);
  }

  UndoImage m_Undo;
};

class DS_HLSLEffectFile final : public DS_FileLink3 {
 public:
  using DS_FileLink3::DS_FileLink3;
};

class DS_MeshFile final : public DS_FileLink3 {
 public:
  using DS_FileLink3::DS_FileLink3;
};

// Stored form of a link: the name, then the stamp. Reading replaces both (an empty stored name
// empties the link) and tells nobody.
void ReadFileLink(DS_IOF_Virtual& in, DS_FileLink3& link);
void WriteFileLink(const DS_FileLink3& link, DS_IOF_Virtual& out);
// A link that names a picture is stored in the same form; what the manager carries along for it
// are its frames and frame times, among the pictures of the document being written.
void WritePictureLink(const DS_FileLink3& link, DS_IOF_Virtual& out);

// What writing a (non-picture) link tells the resource manager, for a record that writes the
// link's name and stamp as fields of their own.
void DS_NoteLinkWritten(const DS_FileLink3& link);

// Writing a link with a name first lets the resource manager carry the resource into the
// document being written; the manager installs these hooks, one for pictures and one for every
// other resource (none by default).
using DS_FileLinkWriteHook = void (*)(const DS_ResourceKey& key);
void DS_SetFileLinkWriteHooks(DS_FileLinkWriteHook resourceHook, DS_FileLinkWriteHook pictureHook);

// The registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal.
ds_string DS_GuidToString(const DS_Guid& guid);
// Parses the registry form (either case); false, `guid` unchanged, for anything else.
bool DS_GuidFromString(const ds_string& text, DS_Guid& guid);
void WriteGuid(DS_IOF_Virtual& out, const DS_Guid& guid);
// A string that is not a GUID leaves `guid` unchanged.
void ReadGuid(DS_IOF_Virtual& in, DS_Guid& guid);
