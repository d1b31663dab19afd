// Change listeners: observers that call one member function of their owner when a parameter
// changes, and the listener set in which an owner keeps them (deleting the set deletes them).
// Either side may die first: a dying parameter detaches its listeners, a dying listener leaves
// a parameter that is still alive.
#pragma once

#include <memory>
#include <stdexcept>
#include <vector>

#include "core/data/media_param.h"

// Calls owner->callback(value) with the watched parameter's current value.
template <class T, class C>
class DS_FunLightCtrl final : public MediaControlT<MediaParamTB<T>> {
 public:
  using Callback = void (C::*)(T);
  DS_FunLightCtrl(Callback callback, C* owner) : m_Callback(callback), m_Owner(owner) {}

  void OnChanged(MediaControl*) override {
    if (this->m_Watched) (m_Owner->*m_Callback)(this->m_Watched->Get());
  }

 private:
  Callback m_Callback;
  C* m_Owner;
};

// Calls owner->callback() when the watched parameter changes.
template <class C>
class DS_FunLightCtrl2 final : public MediaControl {
 public:
  using Callback = void (C::*)();
  DS_FunLightCtrl2(Callback callback, C* owner, MediaParam* watched)
      : m_Callback(callback), m_Owner(owner), m_Watched(watched) {}
  ~DS_FunLightCtrl2() override {
    if (m_Watched) m_Watched->Remove(this);
  }

  void Detach() override { m_Watched = nullptr; }
  void OnChanged(MediaControl*) override { (m_Owner->*m_Callback)(); }
  MediaParam* Watched() const { return m_Watched; }

 private:
  Callback m_Callback;
  C* m_Owner;
  MediaParam* m_Watched;
};

// The listeners an owner attached. The owner stores itself first (clearing the owns-owner
// flag); a set that still owns a non-null owner deletes it after the listeners.
class DS_ListenerSet {
 public:
  DS_ListenerSet() = default;
  DS_ListenerSet(const DS_ListenerSet&) = delete;
  DS_ListenerSet& operator=(const DS_ListenerSet&) = delete;
  ~DS_ListenerSet();

  template <class C>
  void SetOwner(C* owner, bool ownsOwner = false) {
    m_Owner = owner;
    m_OwnsOwner = ownsOwner;
    m_DeleteOwner = [](void* p) { delete static_cast<C*>(p); };
  }
  template <class C>
  C* Owner() const {
    return static_cast<C*>(m_Owner);
  }
  bool OwnsOwner() const { return m_OwnsOwner; }
  size_t Size() const { return m_Listeners.size(); }

  void Add(std::unique_ptr<MediaControl> listener) { m_Listeners.push_back(std::move(listener)); }

 private:
  void* m_Owner = nullptr;
  bool m_OwnsOwner = true;
  void (*m_DeleteOwner)(void*) = nullptr;
  std::vector<std::unique_ptr<MediaControl>> m_Listeners;
};

// Attaches a value listener for the set's owner (of class C) to `param`, runs it once so that
// the owner's derived state is in step at once, and keeps it in the set.
template <class T, class C>
DS_FunLightCtrl<T, C>& DS_AttachListener(DS_ListenerSet& set, MediaParamTB<T>& param, void (C::*callback)(T)) {
  C* owner = set.Owner<C>();
  if (!owner) throw std::logic_error("a listener set needs its owner before listeners are attached");
  auto listener = std::make_unique<DS_FunLightCtrl<T, C>>(callback, owner);
  auto& attached = *listener;
  set.Add(std::move(listener));
  attached.Watch(&param);
  attached.OnChanged(nullptr);
  return attached;
}

// Attaches a listener without arguments for `owner`; it is not run at attachment.
template <class C>
DS_FunLightCtrl2<C>& DS_AttachListener2(DS_ListenerSet& set, MediaParam& param, C* owner, void (C::*callback)()) {
  auto listener = std::make_unique<DS_FunLightCtrl2<C>>(callback, owner, &param);
  auto& attached = *listener;
  set.Add(std::move(listener));
  param.Attach(&attached);
  return attached;
}
