// The layer registry: every layer kind, by class name, made and read by its registered reader
// (core/data/class_registry.h). Platform-free: the host build registers its layers here too.
#pragma once

#include <memory>

#include "core/data/class_registry.h"

class DS_2D_Light;

inline DS_ReaderMap<DS_2D_Light>& GetLightReaderMap() {
  static DS_ReaderMap<DS_2D_Light> registry;
  return registry;
}

// A layer of the layer registry (instantiated where the layer classes are complete).
template <class Layer = DS_2D_Light>
std::unique_ptr<Layer> ReadLightObject(DS_IOF_Virtual& in) {
  return DS_ReadRegisteredObject<Layer>(GetLightReaderMap(), in);
}

#define DS_REGISTER_LAYER(T) DS_REGISTER_CLASS_IN(T, DS_2D_Light, GetLightReaderMap)
