// The counted holder through which the slide show, its slides and the scene share slides,
// layers, live objects and music files. Every holder owns a block {object, count}; a holder
// with no object has a block too. The way to destroy the object is taken when the object is
// adopted, so code that only passes holders around never needs the object's full type (the
// platform-free readers hold device layers and live objects this way).
#pragma once

#include <memory>
#include <utility>

template <class T>
class DS_RefPtr {
 public:
  DS_RefPtr() : m_Block(new Block{nullptr, 1, nullptr}) {}
  // Adopts the object; U must be complete here, T need not be where the holder is released.
  template <class U>
  explicit DS_RefPtr(std::unique_ptr<U> object) : m_Block(new Block{nullptr, 1, &Destroy<U>}) {
    m_Block->object = object.release();
  }
  DS_RefPtr(const DS_RefPtr& source) : m_Block(source.m_Block) {
    if (m_Block) ++m_Block->count;
  }
  DS_RefPtr(DS_RefPtr&& source) noexcept : m_Block(std::exchange(source.m_Block, nullptr)) {}
  DS_RefPtr& operator=(const DS_RefPtr& source) {
    if (m_Block == source.m_Block) return *this;
    Release();
    m_Block = source.m_Block;
    if (m_Block) ++m_Block->count;
    return *this;
  }
  DS_RefPtr& operator=(DS_RefPtr&& source) noexcept {
    if (this != &source) {
      Release();
      m_Block = std::exchange(source.m_Block, nullptr);
    }
    return *this;
  }
  ~DS_RefPtr() { Release(); }

  T* get() const { return m_Block ? m_Block->object : nullptr; }
  T* operator->() const { return get(); }
  T& operator*() const { return *get(); }
  explicit operator bool() const { return get() != nullptr; }
  // Holders sharing this block (0 for a holder that was moved from).
  int UseCount() const { return m_Block ? m_Block->count : 0; }

  // Drops this holder's share; the last share destroys the object and frees the block.
  void Release() {
    if (!m_Block) return;
    if (--m_Block->count <= 0) {
      if (m_Block->object && m_Block->destroy) m_Block->destroy(m_Block->object);
      delete m_Block;
    }
    m_Block = nullptr;
  }

 private:
  struct Block {
    T* object;
    int count;
    void (*destroy)(T*);
  };
  template <class U>
  static void Destroy(T* object) {
    delete static_cast<U*>(object);
  }

  Block* m_Block;
};
