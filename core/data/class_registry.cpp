#include "core/data/class_registry.h"

DS_ReaderMap<DS_ABObj_Constructor>& GetConstructorReaderMap() {
  static DS_ReaderMap<DS_ABObj_Constructor> registry;
  return registry;
}

std::unique_ptr<DS_ABObj_Constructor> ReadConstructorObject(DS_IOF_Virtual& in) {
  return DS_ReadRegisteredObject<DS_ABObj_Constructor>(GetConstructorReaderMap(), in);
}
