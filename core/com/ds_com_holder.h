// An owning holder of one COM interface pointer: released on reset, replacement and destruction.
#pragma once

#include <unknwn.h>

#include <utility>

template <class T>
class DS_ComHolder {
 public:
  DS_ComHolder() = default;
  // Takes ownership of a pointer that already carries the reference this holder will release.
  explicit DS_ComHolder(T* owned) : m_Pointer(owned) {}
  ~DS_ComHolder() { Reset(); }

  // Copies share the interface by AddRef.
  DS_ComHolder(const DS_ComHolder& other) : m_Pointer(other.m_Pointer) {
    if (m_Pointer) m_Pointer->AddRef();
  }
  DS_ComHolder& operator=(const DS_ComHolder& other) {
    if (this != &other) Share(other.m_Pointer);
    return *this;
  }
  DS_ComHolder(DS_ComHolder&& other) noexcept : m_Pointer(std::exchange(other.m_Pointer, nullptr)) {}
  DS_ComHolder& operator=(DS_ComHolder&& other) noexcept {
    if (this != &other) {
      Reset();
      m_Pointer = std::exchange(other.m_Pointer, nullptr);
    }
    return *this;
  }

  // Releases the held interface, if any; the holder is null afterwards.
  void Reset() {
    if (m_Pointer) {
      T* old = std::exchange(m_Pointer, nullptr);
      old->Release();
    }
  }
  // Holds `owned`, whose reference now belongs to this holder, releasing what was held.
  void Attach(T* owned) {
    if (owned == m_Pointer) {
      if (owned) owned->Release();  // already held: drop the extra reference handed over
      return;
    }
    Reset();
    m_Pointer = owned;
  }
  // Holds `shared` with a reference of its own (AddRef), releasing what was held.
  void Share(T* shared) {
    if (shared) shared->AddRef();
    Reset();
    m_Pointer = shared;
  }
  // The address for a creation call that writes a new owned pointer; releases what was held.
  T** Receive() {
    Reset();
    return &m_Pointer;
  }

  T* Get() const { return m_Pointer; }
  T* operator->() const { return m_Pointer; }
  explicit operator bool() const { return m_Pointer != nullptr; }

 private:
  T* m_Pointer = nullptr;
};
