// The resource manager of one loaded document: the raw entries that links name, the pictures
// decoded from them, the masks, and the meshes and effects resolved on demand. Each output loads
// its own document and so has its own manager; `g_DocResManager` names the one of the output
// being drawn.
#pragma once

#include <d3dx9.h>

#include <map>
#include <memory>
#include <vector>

#include "core/data/abobj_constructor.h"
#include "core/data/file_links.h"
#include "core/com/ds_com_holder.h"
#include "core/render/image_set.h"
#include "core/resources/mask_entry.h"
#include "core/resources/mesh_buffers.h"
#include "core/resources/resource_cache.h"
#include "core/resources/resource_record.h"

class DS_RenderTargetPair;

// A decoded mask: its texture (none for a mask that did not decode) and the part of the picture
// where its alpha can be above 0, found when it was decoded (the whole picture otherwise).
struct DS_MaskTexture {
  DS_ComHolder<IDirect3DTexture9> texture;
  DS_MaskBounds bounds;
};

// The ten tables of one manager, in the order they are built (destroyed in reverse).
struct DS_ResourceStore {
  DS_EntryTable savedResources;  // table 3 of the record; kept for writing again
  DS_EntryTable pictureEntries;  // table 1, emptied once decoded
  DS_FrameTimeTable frameTimes;  // table 2, kept
  DS_MaskSet pendingMasks;       // table 4, emptied once decoded
  std::map<DS_ResourceKey, DS_ImageSet> imageSets;
  std::map<DS_ResourceKey, DS_MeshBuffers> meshes;
  std::map<DS_MaskKey, DS_RenderTargetPair*, DS_MaskKeyLess> maskTargets;  // not owned
  std::map<DS_ResourceKey, DS_ComHolder<ID3DXEffect>> effects;
  DS_EntryTable rawEntries;  // a key's first entry is its resource (effects take the last)
  std::map<DS_MaskKey, DS_MaskTexture, DS_MaskKeyLess> maskTextures;
};

class DS_DocResManager : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 3;

  // Makes its cache and stores the cache's holder in g_ResourceCache.
  DS_DocResManager();
  ~DS_DocResManager() override;
  DS_DocResManager(const DS_DocResManager&) = delete;
  DS_DocResManager& operator=(const DS_DocResManager&) = delete;

  // Reads the record's four tables (as its version has them) after the header, then decodes
  // every picture and mask of the document. A truncated or inconsistent record throws
  // DS_DocumentError from the reader before anything is decoded.
  bool ReadFields(DS_IOF_Virtual& in, uint32_t version);
  // "DS_DocResManager" version 3 and the four tables.
  void Write(DS_IOF_Virtual& out) const override { WriteObject(out); }
  bool WriteObject(DS_IOF_Virtual& out) const;
  // The decoding part of reading, over tables already read.
  void BuildFromTables(DS_ResourceRecordTables&& tables, uint32_t version);

  // Device hooks: effects are told of loss and reset; mask targets are dropped and made again.
  void OnDeviceLost();
  void OnDeviceReset();

  // Link resolution. Keys name: (library path, id), (file path, file time) or (label, number);
  // an empty name with a stamp names the program's own resource.
  DS_ImageSet& GetImageSet(const DS_FileLink3& link) { return GetImageSet(link.Key()); }
  DS_ImageSet& GetImageSet(const DS_ResourceKey& key);
  DS_ImageSet& GetImageSetFromLibrary(const DS_FileLink3& link) { return GetImageSetFromLibrary(link.Key()); }
  DS_ImageSet& GetImageSetFromLibrary(const DS_ResourceKey& key);
  // The first raw entry of the key; an empty entry (no bytes) when there is none.
  const DS_ResourceEntry& GetRawEntry(const DS_FileLink3& link) { return GetRawEntry(link.Key()); }
  const DS_ResourceEntry& GetRawEntry(const DS_ResourceKey& key);
  DS_MeshBuffers& GetMesh(const DS_FileLink3& link, unsigned vertexSize) { return GetMesh(link.Key(), vertexSize); }
  DS_MeshBuffers& GetMesh(const DS_ResourceKey& key, unsigned vertexSize);
  // The compiled effect with one reference for the caller; none when it cannot be built.
  DS_ComHolder<ID3DXEffect> GetEffect(const DS_FileLink3& link) { return GetEffect(link.Key()); }
  DS_ComHolder<ID3DXEffect> GetEffect(const DS_ResourceKey& key);
  DS_ImageFileLink& MakeImageLink(const DS_ResourceEntry& entry, DS_ImageFileLink& link);
  // An empty list makes nothing and leaves the link as it was (no picture).
  DS_ImageFileLink& MakeMultiFrameImageLink(const std::vector<float>& frameTimes, DS_ImageFileLink& link,
                                            const std::vector<DS_ResourceEntry>& entries);
  DS_ImageFileLink& MakeImageLinkFromFile(const ds_string& path, DS_ImageFileLink& link);
  // Before a picture link is written: its frame times and raw entries go into tables 1 and 2.
  bool PrepareLinkForSave(const DS_FileLink3& link) { return PrepareLinkForSave(link.Key()); }
  bool PrepareLinkForSave(const DS_ResourceKey& key);
  // Before any other link is written: its raw entries go into the saved resources (table 3).
  void SaveRawEntries(const DS_ResourceKey& key);
  // The mask texture of a key, or none.
  IDirect3DTexture9* GetMaskTexture(const DS_MaskKey& key) const;

  DS_ResourceStore& Store() { return *m_Store; }
  const DS_ResourceStore& Store() const { return *m_Store; }
  DS_ResourceCache& Cache() { return *m_CacheHolder->cache; }
  DS_ResourceCacheHolder* CacheHolder() { return m_CacheHolder.get(); }

 private:
  bool LoadLibraryImage(DS_ImageSet& set, const DS_ResourceKey& key);
  bool AddRawEntrySlot(const DS_ResourceKey& key);
  void ReleaseMaskTargets();
  void CreateMaskTargets();

  std::unique_ptr<DS_ResourceCacheHolder> m_CacheHolder;
  std::unique_ptr<DS_ResourceStore> m_Store;
};

// The manager of the output being drawn.
extern DS_DocResManager* g_DocResManager;

// The library entry of a key: resource id = the low 32 bits of the stamp, library path = the name.
DS_ResourceEntry LibraryEntryOf(const DS_ResourceKey& key);
