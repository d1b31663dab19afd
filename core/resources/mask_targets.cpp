// The mask-target pairs of the manager follow the device: dropped on loss, rebuilt at 512 x 512
// from the mask texture of the same key on reset. No operation of the saver fills the table.
#include "core/render/render_target_pair.h"
#include "core/resources/doc_res_manager.h"

void DS_DocResManager::ReleaseMaskTargets() {
  for (auto& element : m_Store->maskTargets)
    if (element.second) element.second->Release();
}

void DS_DocResManager::CreateMaskTargets() {
  for (auto& element : m_Store->maskTargets) {
    if (!element.second) continue;
    const auto found = m_Store->maskTextures.find(element.first);
    const DS_RenderTargetPair::Texture none;
    element.second->CreateFrom(found == m_Store->maskTextures.end() ? none : found->second.texture, 512, 512);
  }
}
