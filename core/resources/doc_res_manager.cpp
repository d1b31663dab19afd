#include "core/resources/doc_res_manager.h"

#include <utility>

#include "core/render/device_globals.h"
#include "core/resources/picture_decoders.h"

DS_DocResManager* g_DocResManager = nullptr;

namespace {

// Writing a link carries its resource into the document being written.
void SaveLinkedResource(const DS_ResourceKey& key) {
  if (g_DocResManager) g_DocResManager->SaveRawEntries(key);
}

void SaveLinkedPicture(const DS_ResourceKey& key) {
  if (g_DocResManager) g_DocResManager->PrepareLinkForSave(key);
}

}  // namespace

DS_DocResManager::DS_DocResManager()
    : m_CacheHolder(std::make_unique<DS_ResourceCacheHolder>()), m_Store(std::make_unique<DS_ResourceStore>()) {
  g_ResourceCache = m_CacheHolder.get();
  DS_SetFileLinkWriteHooks(SaveLinkedResource, SaveLinkedPicture);
}

DS_DocResManager::~DS_DocResManager() {
  // The globals must not keep naming what is destroyed here.
  if (g_ResourceCache == m_CacheHolder.get()) g_ResourceCache = nullptr;
  if (g_DocResManager == this) g_DocResManager = nullptr;
  m_CacheHolder.reset();
  m_Store.reset();
}

bool DS_DocResManager::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  DS_ResourceRecordTables tables;
  ReadResourceRecordTables(in, version, tables);
  BuildFromTables(std::move(tables), version);
  return true;
}

bool DS_DocResManager::WriteObject(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_DocResManager", kVersion);
  const DS_ResourceStore& store = *m_Store;
  WriteResourceRecordTables(out, store.pictureEntries, store.frameTimes, store.savedResources, store.pendingMasks);
  return true;
}

void DS_DocResManager::SaveRawEntries(const DS_ResourceKey& key) {
  m_Store->savedResources[key] = m_Store->rawEntries[key];
}

void DS_DocResManager::BuildFromTables(DS_ResourceRecordTables&& tables, uint32_t version) {
  DS_ResourceStore& store = *m_Store;
  for (auto& element : tables.pictureEntries) store.pictureEntries.emplace(element.first, std::move(element.second));
  for (auto& element : tables.frameTimes) store.frameTimes.emplace(element.first, std::move(element.second));

  // Pictures decode through this manager's own cache: its objects then belong to the device of
  // this manager's output, whichever manager was constructed last.
  DS_ResourceCache& cache = Cache();
  for (const auto& element : store.pictureEntries) {
    const DS_ResourceKey& key = element.first;
    DS_ImageSet& set = store.imageSets[key];
    std::vector<DS_ResourceEntry>& raw = store.rawEntries[key];
    raw = element.second;
    set.textures.resize(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
      DS_TextureInfo decoded = cache.LoadImage(raw[i]);
      set.textures[i] = decoded.texture;
      set.width = decoded.width;
      set.height = decoded.height;
      set.aspect = decoded.aspect;
    }
    if (raw.size() > 1) set.frameTimes = store.frameTimes[key];
  }
  store.pictureEntries.clear();
  if (version == 1) return;

  for (auto& element : tables.savedResources) store.savedResources.emplace(element.first, std::move(element.second));
  for (const auto& element : store.savedResources) store.rawEntries.emplace(element.first, element.second);
  if (version == 2) return;

  for (auto& mask : tables.pendingMasks) store.pendingMasks.insert(std::move(mask));
  for (const DS_MaskEntry& mask : store.pendingMasks) {
    DS_TextureInfo decoded = LoadTextureInfoFromMemory(mask.blob.Data(), mask.blob.Size());
    store.maskTextures[mask] = {decoded.texture, MaskBoundsOfTexture(decoded.texture.Get())};
  }
  store.pendingMasks.clear();
}

void DS_DocResManager::OnDeviceLost() {
  // An effect keeps a reference to every texture last set on it, render targets of the default
  // pool among them; those must go before the device can be reset.
  for (auto& element : m_Store->effects) {
    ID3DXEffect* effect = element.second.Get();
    if (!effect) continue;
    D3DXEFFECT_DESC desc{};
    if (SUCCEEDED(effect->GetDesc(&desc))) {
      for (UINT i = 0; i < desc.Parameters; ++i) {
        D3DXHANDLE parameter = effect->GetParameter(nullptr, i);
        D3DXPARAMETER_DESC parameterDesc{};
        if (!parameter || FAILED(effect->GetParameterDesc(parameter, &parameterDesc))) continue;
        if (parameterDesc.Type >= D3DXPT_TEXTURE && parameterDesc.Type <= D3DXPT_TEXTURECUBE)
          effect->SetTexture(parameter, nullptr);
      }
    }
    effect->OnLostDevice();
  }
  if (g_Device)
    for (DWORD stage = 0; stage < 8; ++stage) g_Device->SetTexture(stage, nullptr);
  ReleaseMaskTargets();
}

void DS_DocResManager::OnDeviceReset() {
  for (auto& element : m_Store->effects)
    if (element.second) element.second->OnResetDevice();
  CreateMaskTargets();
}

bool DS_DocResManager::PrepareLinkForSave(const DS_ResourceKey& key) {
  if (key.name.empty()) return true;
  DS_ResourceStore& store = *m_Store;
  const DS_ImageSet& set = store.imageSets[key];
  if (!set.frameTimes.empty()) store.frameTimes[key] = set.frameTimes;
  store.pictureEntries[key] = store.rawEntries[key];
  return true;
}

IDirect3DTexture9* DS_DocResManager::GetMaskTexture(const DS_MaskKey& key) const {
  const auto found = m_Store->maskTextures.find(key);
  return found == m_Store->maskTextures.end() ? nullptr : found->second.texture.Get();
}

DS_ResourceEntry LibraryEntryOf(const DS_ResourceKey& key) {
  return DS_ResourceEntry(static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(key.stamp))), key.name);
}
