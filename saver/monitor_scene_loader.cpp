#include "saver/monitor_scene.h"

#include "core/resources/picture_decoders.h"
#include "saver/saver_shell.h"

namespace {

constexpr int kSceneDocumentId = 107;

}  // namespace

DS_LoadedScene LoadEmbeddedScene() {
  const void* bytes = nullptr;
  DWORD size = 0;
  if (!FindModuleResource(nullptr, kSceneDocumentId, L"DDS", bytes, size)) {
    throw static_cast<unsigned>(kErrMediaNotFound);
  }
  // The slide show's reader is not part of this build yet.
  throw static_cast<unsigned>(kErrMediaNotFound);
}
