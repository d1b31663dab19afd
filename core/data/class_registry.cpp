#include "core/data/class_registry.h"

DS_ReaderMap<DS_2D_Light>& GetLightReaderMap() {
  static DS_ReaderMap<DS_2D_Light> registry;
  return registry;
}

DS_ReaderMap<DS_SlideContainer>& GetSlideReaderMap() {
  static DS_ReaderMap<DS_SlideContainer> registry;
  return registry;
}

DS_ReaderMap<DS_ABObj_Constructor>& GetConstructorReaderMap() {
  static DS_ReaderMap<DS_ABObj_Constructor> registry;
  return registry;
}

std::unique_ptr<DS_ABObj_Constructor> ReadConstructorObject(DS_IOF_Virtual& in) {
  return DS_ReadRegisteredObject<DS_ABObj_Constructor>(GetConstructorReaderMap(), in);
}
