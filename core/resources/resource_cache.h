// The decoding cache of one document resource manager: what was decoded from files, resource
// libraries and the program's own "DDS" resources, so that each source is decoded once, and the
// resource libraries loaded so far (never freed).
//
// Its device objects belong to the device they were made on (the device current at the first
// decode that stored something). While another device is current - another output's - the cache
// neither hands out nor stores objects: it decodes afresh for that device, so no device ever
// receives a texture or buffer of another device.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "core/resources/mesh_buffers.h"
#include "core/resources/resource_entry.h"
#include "core/render/texture_info.h"

class DS_ResourceCache {
 public:
  using Texture = DS_ComHolder<IDirect3DTexture9>;

  // The program's own "DDS" picture `id` with a full mip chain; none when it does not exist
  // (tried again at the next call). The caller's holder carries its own reference.
  Texture GetResourceTexture(int id);
  // The picture file named by the entry.
  DS_TextureInfo LoadTextureFile(const DS_ResourceEntry& entry);
  // The module of a resource library, mapped as data (LoadResourceLibrary; null for an empty
  // path: the program). A library that cannot be read is not remembered: false, and the next
  // call tries again.
  bool GetModule(const ds_string& libraryPath, HMODULE& module);
  // The picture decoder of the manager: embedded bytes (not cached), a file, or a library id.
  DS_TextureInfo LoadImage(const DS_ResourceEntry& entry);
  // The library pictures decoded and kept so far, as (module, resource id).
  std::vector<std::pair<HMODULE, int>> LibraryPictures() const;
  // The mesh decoder of the falling 3D objects: library meshes are cached by id alone.
  DS_MeshBuffers LoadMesh(const DS_ResourceEntry& entry, unsigned vertexSize);

 private:
  // Whether the cache's objects may be used and stored on the current device.
  bool ServesCurrentDevice();

  std::map<int, Texture> m_OwnTextures;
  std::map<ds_string, DS_TextureInfo> m_FilePictures;
  std::map<std::pair<HMODULE, int>, DS_TextureInfo> m_LibraryPictures;
  std::map<std::pair<ds_string, int>, DS_TextureInfo> m_FallbackPictures;
  std::map<int, std::vector<DS_MeshBuffers>> m_LibraryMeshes;
  std::map<ds_string, HMODULE> m_Modules;
  IDirect3DDevice9* m_Device = nullptr;  // not owned: the device the cached objects belong to
};

// The one-pointer holder through which a manager owns its cache.
struct DS_ResourceCacheHolder {
  std::unique_ptr<DS_ResourceCache> cache = std::make_unique<DS_ResourceCache>();
};

// The cache of the manager constructed last (cleared when that manager is destroyed).
extern DS_ResourceCacheHolder* g_ResourceCache;

// `DS_ResourceCache::LoadImage` and `LoadMesh` through a cache holder: empty results without one.
DS_TextureInfo LoadImageThrough(DS_ResourceCacheHolder* holder, const DS_ResourceEntry& entry);
DS_MeshBuffers LoadMeshThrough(DS_ResourceCacheHolder* holder, const DS_ResourceEntry& entry, unsigned vertexSize);
