// The program's scene document and the product's readers of the device parts of a slide.
#include <windows.h>

#include "core/data/class_registry.h"
#include "core/layer/ds_2d_light.h"
#include "core/layer/ds_abobj.h"
#include "core/layer/layer_registry.h"
#include "core/resources/doc_res_manager.h"
#include "scene/scene_document.h"

namespace {

DS_RefPtr<DS_2D_Light> ReadLayer(DS_IOF_Virtual& in) {
  std::unique_ptr<DS_2D_Light> layer = ReadLightObject<DS_2D_Light>(in);
  if (!layer) return DS_RefPtr<DS_2D_Light>();
  return DS_RefPtr<DS_2D_Light>(std::move(layer));
}

void WriteLayer(const DS_2D_Light& layer, DS_IOF_Virtual& out) { layer.Write(out); }

void WriteObject(const DS_ABObj& object, DS_IOF_Virtual& out) {
  if (const DS_ABObj_Constructor* set = object.Control()) set->Write(out);
}

struct InstallSlideParts {
  InstallSlideParts() {
    DS_SlidePartsIO io;
    io.readLayer = &ReadLayer;
    io.writeLayer = &WriteLayer;
    io.writeObject = &WriteObject;
    DS_SetSlidePartsIO(io);
  }
} const g_InstallSlideParts;

}  // namespace

std::unique_ptr<DS_SlideShow_Light> LoadSceneFromBytes(const uint8_t* data, size_t size, std::string* reason) {
  if (!data || size == 0) {
    if (reason) *reason = "the document is empty";
    throw DS_E_DOCUMENT_UNUSABLE;
  }
  // A new manager names its cache as the process-wide one; a rejected document must leave the
  // cache of the scene already loaded in place.
  DS_ResourceCacheHolder* const previousCache = g_ResourceCache;
  auto manager = std::make_unique<DS_DocResManager>();
  std::unique_ptr<DS_SlideShow_Light> show;
  try {
    show = ReadSceneDocument(data, size, [&](DS_IOF_Virtual& in, uint32_t version) {
      if (!manager->ReadFields(in, version)) throw DS_DocumentError("the resource record cannot be read");
    }, reason);
  } catch (...) {
    manager.reset();
    g_ResourceCache = previousCache;
    throw;
  }
  g_DocResManager = manager.get();
  show->AdoptResourceManager(std::move(manager));
  return show;
}

std::unique_ptr<DS_SlideShow_Light> LoadSceneDocument() {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(107), L"DDS");
  const DWORD size = found ? SizeofResource(nullptr, found) : 0;
  HGLOBAL loaded = size ? LoadResource(nullptr, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) throw DS_E_DOCUMENT_UNUSABLE;
  return LoadSceneFromBytes(static_cast<const uint8_t*>(bytes), size);
}
