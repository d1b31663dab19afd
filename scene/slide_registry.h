// The slide registry: the slide class, by class name, made and read by its registered reader
// (core/data/class_registry.h).
#pragma once

#include <memory>

#include "core/data/class_registry.h"

class DS_SlideContainer;

inline DS_ReaderMap<DS_SlideContainer>& GetSlideReaderMap() {
  static DS_ReaderMap<DS_SlideContainer> registry;
  return registry;
}

template <class Slide = DS_SlideContainer>
std::unique_ptr<Slide> ReadSlideObject(DS_IOF_Virtual& in) {
  return DS_ReadRegisteredObject<Slide>(GetSlideReaderMap(), in);
}

#define DS_REGISTER_SLIDE(T) DS_REGISTER_CLASS_IN(T, DS_SlideContainer, GetSlideReaderMap)
