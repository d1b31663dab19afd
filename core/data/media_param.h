// Observable parameters: a value with an ordered list of observers that hear of each change,
// and the 20-entry undo history that every MediaParamT keeps as its first observer.
//
// Changing a value: when the new value differs, store it and NotifyChanged(originator); every
// observer but the originator is called, in attachment order. Setting a default: store it and
// let only the parameter's own history capture it. Stream readers store values directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <list>
#include <utility>
#include <vector>

#include "core/data/ds_string.h"
#include "core/data/ds_types.h"

class MediaControl {
 public:
  MediaControl() = default;
  MediaControl(const MediaControl&) = delete;
  MediaControl& operator=(const MediaControl&) = delete;
  virtual ~MediaControl() = default;

  // The watched parameter is being destroyed: forget it.
  virtual void Detach() {}
  virtual bool QueryState() { return false; }
  // The watched value has changed; `originator` caused the change, or is null.
  virtual void OnChanged(MediaControl* originator) = 0;

  void Notify(MediaControl* originator) {
    if (originator != this) OnChanged(originator);
  }
};

class MediaParam {
 public:
  MediaParam() = default;
  // Copies have observers of their own, never the source's.
  MediaParam(const MediaParam&) {}
  MediaParam& operator=(const MediaParam&) { return *this; }
  // Detaches every observer (once per occurrence); the observers are not deleted.
  virtual ~MediaParam();

  // The authoring tool's editing hook; nothing to do in the saver.
  virtual void Edit(void* parent, MediaControl* originator);

  void Attach(MediaControl* observer) { m_Observers.push_back(observer); }
  // Removes every occurrence of `observer`.
  void Remove(MediaControl* observer);
  void NotifyChanged(MediaControl* originator);
  const std::vector<MediaControl*>& Observers() const { return m_Observers; }

 private:
  std::vector<MediaControl*> m_Observers;
};

// A value without undo history.
template <class T>
class MediaParamTB : public MediaParam {
 public:
  MediaParamTB() : m_Value() {}
  explicit MediaParamTB(const T& value) : m_Value(value) {}
  MediaParamTB(const MediaParamTB& source) : MediaParam(), m_Value(source.m_Value) {}
  MediaParamTB& operator=(const MediaParamTB& source) {
    m_Value = source.m_Value;
    return *this;
  }

  const T& Get() const { return m_Value; }
  // The changing convention.
  void Set(const T& value, MediaControl* originator = nullptr) {
    if (value == m_Value) return;
    m_Value = value;
    NotifyChanged(originator);
  }
  // A direct store, telling nobody (stream readers).
  void Store(const T& value) { m_Value = value; }

  // What an undo history reads and restores.
  const T& UndoValue() const { return m_Value; }
  void UndoAssign(const T& value) { m_Value = value; }

 protected:
  T m_Value;
};

class UndoCtrl : public MediaControl {
 public:
  virtual void Undo() = 0;
  virtual void Redo() = 0;
  // Called by an editor before it changes the value.
  virtual void Record() = 0;
};

// The undo history of one owner whose value is a T. The owner provides UndoValue(),
// UndoAssign(value) and NotifyChanged(originator). History: newest first, at most 20 entries;
// the cursor is the entry the next undo uses. Undo and redo swap the entry with the captured
// value, so each entry holds what the next step in its direction restores.
template <class T, class Owner>
class UndoCtrlOf : public UndoCtrl {
 public:
  static constexpr size_t kMaxEntries = 20;

  void SetOwner(Owner* owner) { m_Owner = owner; }
  Owner* GetOwner() const { return m_Owner; }
  const T& Captured() const { return m_Captured; }
  const std::list<T>& History() const { return m_History; }
  // Entries in front of the cursor: those that can be redone.
  size_t RedoCount() const { return static_cast<size_t>(std::distance(m_History.begin(), CursorConst())); }

  void Detach() override { m_Owner = nullptr; }
  void OnChanged(MediaControl*) override {
    if (m_Owner) m_Captured = m_Owner->UndoValue();
  }

  void Record() override {
    if (!m_History.empty()) m_History.erase(m_History.begin(), m_Cursor);
    m_History.push_front(m_Captured);
    if (m_History.size() > kMaxEntries) m_History.pop_back();
    m_Cursor = m_History.begin();
  }
  void Undo() override {
    if (StepBack()) ApplyCaptured();
  }
  void Redo() override {
    if (StepForward()) ApplyCaptured();
  }

 protected:
  bool StepBack() {
    if (m_History.empty() || m_Cursor == m_History.end()) return false;
    auto entry = m_Cursor++;
    std::swap(*entry, m_Captured);
    return true;
  }
  bool StepForward() {
    if (m_History.empty() || m_Cursor == m_History.begin()) return false;
    --m_Cursor;
    std::swap(*m_Cursor, m_Captured);
    return true;
  }
  // Brings the owner to the captured value, telling everyone but this history.
  void ApplyCaptured() {
    if (!m_Owner || m_Captured == m_Owner->UndoValue()) return;
    m_Owner->UndoAssign(m_Captured);
    m_Owner->NotifyChanged(this);
  }

  T m_Captured{};
  Owner* m_Owner = nullptr;
  std::list<T> m_History;
  typename std::list<T>::iterator m_Cursor = m_History.end();

 private:
  typename std::list<T>::const_iterator CursorConst() const { return m_Cursor; }
};

template <class T>
class UndoCtrlT final : public UndoCtrlOf<T, MediaParamTB<T>> {};

// A value with its own undo history, always its first observer.
template <class T>
class MediaParamT : public MediaParamTB<T> {
 public:
  MediaParamT() { BindHistory(); }
  explicit MediaParamT(const T& value) : MediaParamTB<T>(value) { BindHistory(); }
  // Copies the value only: observers and history are the new parameter's own.
  explicit MediaParamT(const MediaParamTB<T>& source) : MediaParamTB<T>(source.Get()) { BindHistory(); }
  MediaParamT(const MediaParamT& source) : MediaParamTB<T>(source.Get()) { BindHistory(); }
  // Stores the value and lets the history capture it; nobody is told.
  MediaParamT& operator=(const MediaParamT& source) {
    SetDefault(source.Get());
    return *this;
  }
  // The history dies before the MediaParam part walks its observers: take it out of the list
  // first, so that it is never called once destroyed.
  ~MediaParamT() override { this->Remove(&m_Undo); }

  void SetDefault(const T& value) {
    this->m_Value = value;
    m_Undo.OnChanged(nullptr);
  }
  UndoCtrlT<T>& History() { return m_Undo; }
  const UndoCtrlT<T>& History() const { return m_Undo; }

 private:
  void BindHistory() {
    m_Undo.SetOwner(this);
    this->Attach(&m_Undo);
    m_Undo.OnChanged(nullptr);
  }

  UndoCtrlT<T> m_Undo;
};

// An observer bound to one parameter of type P.
template <class P>
class MediaControlT : public MediaControl {
 public:
  MediaControlT() = default;
  ~MediaControlT() override {
    if (m_Watched) m_Watched->Remove(this);
  }

  void Detach() override { m_Watched = nullptr; }
  // Starts watching `param`, leaving a previously watched one.
  void Watch(P* param) {
    if (m_Watched) m_Watched->Remove(this);
    m_Watched = param;
    if (param) param->Attach(this);
  }
  P* Watched() const { return m_Watched; }

 protected:
  P* m_Watched = nullptr;
};
