// The mask-target pairs of the manager follow the device: dropped on loss, rebuilt at 512 x 512
// from the mask texture of the same key on reset. No operation of the saver fills the table; the
// render-target pair comes with the rendering base.
#include "core/resources/doc_res_manager.h"

#if __has_include("core/render/render_target_pair.h")
#include "core/render/render_target_pair.h"

void DS_DocResManager::InvalidateMaskTargets() {
  for (auto& element : m_Store->maskTargets)
    if (element.second) element.second->InvalidateDeviceObjects();
}

void DS_DocResManager::RestoreMaskTargets() {
  for (auto& element : m_Store->maskTargets) {
    if (!element.second) continue;
    const auto texture = m_Store->maskTextures[element.first];
    element.second->CreateFrom(texture, 512, 512);
  }
}
#else
void DS_DocResManager::InvalidateMaskTargets() {}
void DS_DocResManager::RestoreMaskTargets() {}
#endif
