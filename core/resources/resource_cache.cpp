#include "core/resources/resource_cache.h"

#include <d3dx9.h>

#include "core/render/device_globals.h"
#include "core/resources/mesh_decoders.h"
#include "core/resources/picture_decoders.h"
#include "core/resources/resource_library.h"
#include "core/resources/wide_path.h"

// Process-wide: each manager built names its cache here, whichever output is current.
DS_ResourceCacheHolder* g_ResourceCache = nullptr;

bool DS_ResourceCache::ServesCurrentDevice() {
  if (!g_Device) return false;
  if (!m_Device) m_Device = g_Device;
  return m_Device == g_Device;
}

DS_ResourceCache::Texture DS_ResourceCache::GetResourceTexture(int id) {
  if (!ServesCurrentDevice()) {
    Texture uncached;
    LoadResourceTexture(uncached, id, true);
    return uncached;
  }
  Texture& slot = m_OwnTextures[id];
  if (!slot) LoadResourceTexture(slot, id, true);
  return slot;
}

DS_TextureInfo DS_ResourceCache::LoadTextureFile(const DS_ResourceEntry& entry) {
  auto decode = [&entry](DS_TextureInfo& info) {
    info = DS_TextureInfo();
    if (!g_Device || entry.name.empty()) return;
    D3DXIMAGE_INFO image{};
    IDirect3DTexture9* made = nullptr;
    const HRESULT hr = D3DXCreateTextureFromFileExW(g_Device, WidePath(entry.name), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0,
                                                    D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_TRIANGLE,
                                                    D3DX_FILTER_NONE, 0, &image, nullptr, &made);
    Texture texture(made);
    if (FAILED(hr)) CreateTextureFromBumpDdsFile(WidePath(entry.name), &image, texture);
    if (texture) info.Assign(image.Width, image.Height, texture);
  };
  if (!ServesCurrentDevice()) {
    DS_TextureInfo uncached;
    decode(uncached);
    return uncached;
  }
  DS_TextureInfo& slot = m_FilePictures[entry.name];
  if (!slot.texture) decode(slot);
  return slot;
}

bool DS_ResourceCache::GetModule(const ds_string& libraryPath, HMODULE& module) {
  const auto found = m_Modules.find(libraryPath);
  if (found != m_Modules.end()) {
    module = found->second;
    return true;
  }
  HMODULE loaded = nullptr;
  if (!libraryPath.empty()) {
    loaded = LoadResourceLibrary(libraryPath);
    if (!loaded) return false;
  }
  m_Modules.emplace(libraryPath, loaded);
  module = loaded;
  return true;
}

DS_TextureInfo DS_ResourceCache::LoadImage(const DS_ResourceEntry& entry) {
  if (!entry.name.empty()) {
    if (entry.HasBytes()) return LoadTextureInfoFromMemory(entry.Data(), entry.Size());
    return LoadTextureFile(entry);
  }
  const bool cached = ServesCurrentDevice();
  HMODULE module = nullptr;
  if (GetModule(entry.libraryPath, module)) {
    DS_TextureInfo uncached;
    DS_TextureInfo& slot = cached ? m_LibraryPictures[{module, entry.resourceId}] : uncached;
    if (slot.texture) return slot;
    D3DXIMAGE_INFO info{};  // a failed decode reports 0 x 0
    Texture texture;
    if (FAILED(LoadModuleTextureResource(module, entry.resourceId, texture, info))) {
      texture.Reset();
      info = D3DXIMAGE_INFO{};
      CreateTextureFromMemory(info, entry.Size(), entry.Data(), texture);
    }
    slot = DS_TextureInfo();
    slot.Assign(info.Width, info.Height, texture);
    return slot;
  }
  DS_TextureInfo uncached;
  DS_TextureInfo& slot = cached ? m_FallbackPictures[{entry.libraryPath, entry.resourceId}] : uncached;
  if (slot.texture) return slot;
  D3DXIMAGE_INFO info{};
  info.Width = 800;  // the size a picture of a missing library keeps
  info.Height = 600;
  Texture texture;
  CreateTextureFromMemory(info, entry.Size(), entry.Data(), texture);
  slot = DS_TextureInfo();
  slot.Assign(info.Width, info.Height, texture);
  return slot;
}

std::vector<std::pair<HMODULE, int>> DS_ResourceCache::LibraryPictures() const {
  std::vector<std::pair<HMODULE, int>> ids;
  for (const auto& picture : m_LibraryPictures)
    if (picture.second.texture) ids.push_back(picture.first);
  return ids;
}

DS_MeshBuffers DS_ResourceCache::LoadMesh(const DS_ResourceEntry& entry, unsigned vertexSize) {
  const bool cached = ServesCurrentDevice();
  if (cached) {
    const auto found = m_LibraryMeshes.find(entry.resourceId);
    if (found != m_LibraryMeshes.end() && found->second.size() == 1) return found->second.front();
  }
  DS_MeshBuffers record;
  HMODULE module = nullptr;
  if (GetModule(entry.libraryPath, module)) {
    // A mesh that failed is not remembered, so that the next request tries again.
    if (LoadMeshResource(module, entry.resourceId, vertexSize, record) && cached)
      m_LibraryMeshes[entry.resourceId].push_back(record);
  } else if (entry.HasBytes()) {
    CreateMeshFromMemory(entry.Data(), entry.Size(), vertexSize, record);
  } else {
    LoadMeshFromFile(entry.name, vertexSize, record);
  }
  return record;
}

DS_TextureInfo LoadImageThrough(DS_ResourceCacheHolder* holder, const DS_ResourceEntry& entry) {
  if (!holder || !holder->cache) return DS_TextureInfo();
  return holder->cache->LoadImage(entry);
}

DS_MeshBuffers LoadMeshThrough(DS_ResourceCacheHolder* holder, const DS_ResourceEntry& entry, unsigned vertexSize) {
  if (!holder || !holder->cache) return DS_MeshBuffers();
  return holder->cache->LoadMesh(entry, vertexSize);
}
