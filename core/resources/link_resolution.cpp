// Link resolution: a key to what it names. Each lookup looks in the manager's decoded tables,
// then in the raw entries the document carried, then in the library the key's name and stamp
// designate; what a fallback loads is remembered among the raw entries.
#include "core/effects/checked_effect.h"
#include "core/render/device_globals.h"
#include "core/resources/doc_res_manager.h"
#include "core/resources/image_set_container.h"
#include "core/resources/mesh_decoders.h"
#include "core/resources/picture_decoders.h"
#include "core/resources/resource_library.h"

namespace {

void TakeSize(DS_ImageSet& set, const DS_TextureInfo& decoded) {
  set.width = decoded.width;
  set.height = decoded.height;
  set.aspect = decoded.aspect;
}

}  // namespace

DS_ImageSet& DS_DocResManager::GetImageSet(const DS_ResourceKey& key) {
  DS_ImageSet& set = m_Store->imageSets[key];
  if (set.HasTexture()) return set;
  if (key.name.empty() || NamesResourceLibrary(key.name))
    LoadLibraryImage(set, key);
  else
    AddRawEntrySlot(key);
  return set;
}

bool DS_DocResManager::LoadLibraryImage(DS_ImageSet& set, const DS_ResourceKey& key) {
  std::vector<DS_ResourceEntry>& raw = m_Store->rawEntries[key];
  raw.push_back(LibraryEntryOf(key));
  const DS_TextureInfo decoded = Cache().LoadImage(raw.back());
  set.textures.assign(1, decoded.texture);
  TakeSize(set, decoded);
  return true;
}

bool DS_DocResManager::AddRawEntrySlot(const DS_ResourceKey& key) {
  m_Store->rawEntries[key];
  return true;
}

DS_ImageSet& DS_DocResManager::GetImageSetFromLibrary(const DS_ResourceKey& key) {
  DS_ImageSet& set = m_Store->imageSets[key];
  if (set.HasTexture()) return set;
  HMODULE module = LoadResourceLibrary(key.name);
  const void* data = nullptr;
  DWORD size = 0;
  if (!FindModuleResource(module, static_cast<int>(key.stamp), L"DDS", data, size)) return set;
  std::vector<float> times;
  std::vector<DS_ResourceEntry> entries;
  // A resource that is not a well-formed container gives no frames, as if it were missing.
  if (!ParseImageSetContainer(data, size, times, entries)) return set;
  set.frameTimes = std::move(times);
  std::vector<DS_ResourceEntry>& raw = m_Store->rawEntries[key];
  raw = std::move(entries);
  set.textures.assign(raw.size(), DS_ImageSet::Texture());
  for (size_t i = 0; i < raw.size(); ++i) {
    const DS_TextureInfo decoded = Cache().LoadImage(raw[i]);
    set.textures[i] = decoded.texture;
    TakeSize(set, decoded);
  }
  return set;
}

const DS_ResourceEntry& DS_DocResManager::GetRawEntry(const DS_ResourceKey& key) {
  static const DS_ResourceEntry kNoEntry;
  std::vector<DS_ResourceEntry>& raw = m_Store->rawEntries[key];
  if (raw.empty() && NamesResourceLibrary(key.name)) {
    raw.push_back(LibraryEntryOf(key));
    LoadEntryFromLibrary(raw.back());
  }
  return raw.empty() ? kNoEntry : raw.front();
}

DS_MeshBuffers& DS_DocResManager::GetMesh(const DS_ResourceKey& key, unsigned vertexSize) {
  DS_MeshBuffers& mesh = m_Store->meshes[key];
  if (mesh.vertexCount > 0) return mesh;
  std::vector<DS_ResourceEntry>& raw = m_Store->rawEntries[key];
  if (raw.empty()) {
    raw.push_back(LibraryEntryOf(key));
    LoadEntryFromLibrary(raw.back());
  }
  // An entry without bytes (its library lacks the resource) gives no mesh.
  const DS_ResourceEntry& first = raw.front();
  if (first.HasBytes()) CreateMeshFromMemory(first.Data(), first.Size(), vertexSize, mesh);
  return mesh;
}

DS_ComHolder<ID3DXEffect> DS_DocResManager::GetEffect(const DS_ResourceKey& key) {
  DS_ComHolder<ID3DXEffect>& effect = m_Store->effects[key];
  if (effect) return effect;
  std::vector<DS_ResourceEntry>& raw = m_Store->rawEntries[key];
  if (raw.empty()) {
    raw.push_back(LibraryEntryOf(key));
    HMODULE module = LoadResourceLibrary(key.name);
    const void* data = nullptr;
    DWORD size = 0;
    if (FindModuleResource(module, static_cast<int>(key.stamp), MAKEINTRESOURCEW(10), data, size))
      raw.back().SetData(size, data);
  }
  const DS_ResourceEntry& last = raw.back();
  if (g_Device && last.HasBytes()) {
    ID3DXEffect* made = nullptr;
    // The effect loader trusts every offset in the binary; damaged bytes are refused before it.
    if (SUCCEEDED(fxasm::CreateCheckedEffect(g_Device, last.Data(), last.Size(), &made)))
      effect.Attach(made);
    else if (made)
      made->Release();
  }
  return effect;
}

DS_ImageFileLink& DS_DocResManager::MakeImageLink(const DS_ResourceEntry& entry, DS_ImageFileLink& link) {
  const DS_ResourceKey key = DS_FileLink3(entry).Key();
  std::vector<DS_ResourceEntry>& raw = m_Store->rawEntries[key];
  if (raw.empty()) raw.push_back(entry);
  const DS_TextureInfo decoded = Cache().LoadImage(entry);
  DS_ImageSet& set = m_Store->imageSets[key];
  set.textures.assign(1, decoded.texture);
  TakeSize(set, decoded);
  link = DS_ImageFileLink(DS_FileLink3(key));
  return link;
}

DS_ImageFileLink& DS_DocResManager::MakeMultiFrameImageLink(const std::vector<float>& frameTimes,
                                                            DS_ImageFileLink& link,
                                                            const std::vector<DS_ResourceEntry>& entries) {
  if (entries.empty()) return link;
  const DS_ResourceKey key = DS_FileLink3(entries.front()).Key();
  DS_ImageSet& set = m_Store->imageSets[key];
  if (!set.HasTexture()) {
    std::vector<DS_ResourceEntry>& raw = m_Store->rawEntries[key];
    for (const DS_ResourceEntry& entry : entries) {
      const DS_TextureInfo decoded = Cache().LoadImage(entry);
      set.textures.push_back(decoded.texture);
      TakeSize(set, decoded);
      raw.push_back(entry);
    }
    set.frameTimes = frameTimes;
  }
  link = DS_ImageFileLink(DS_FileLink3(key));
  return link;
}

DS_ImageFileLink& DS_DocResManager::MakeImageLinkFromFile(const ds_string& path, DS_ImageFileLink& link) {
  link = DS_ImageFileLink(DS_FileLink3(path));
  GetImageSet(link.Key());
  return link;
}
