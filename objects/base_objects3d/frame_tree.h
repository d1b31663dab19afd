// Owned frame trees. A DS_Frame lists its children as plain pointers for the updates and the
// layer's draws; the frames themselves belong to a DS_FrameChildren (the children of one parent
// frame) or a DS_FrameTree (a root with its children), which keep that list in step and delete
// the frames, controllers included, when they go.
#pragma once

#include <cstddef>
#include <list>
#include <memory>

#include "core/render/frame.h"

// The child frames of one parent frame, owned. The parent's `children` names exactly these, in
// order; the parent must outlive this holder.
class DS_FrameChildren {
 public:
  explicit DS_FrameChildren(DS_Frame& parent) : m_Parent(parent) {}
  DS_FrameChildren(const DS_FrameChildren&) = delete;
  DS_FrameChildren& operator=(const DS_FrameChildren&) = delete;
  ~DS_FrameChildren() { Clear(); }

  // Appends a new child frame (with its controller, if it has one) and returns it.
  DS_Frame& Append(std::unique_ptr<DS_Frame> child);
  DS_Frame& Append() { return Append(std::make_unique<DS_Frame>()); }
  // Deletes the first child (its controller with it); nothing without children.
  void EraseFirst();
  // Deletes every child in order.
  void Clear();
  size_t Size() const { return m_Owned.size(); }

 private:
  DS_Frame& m_Parent;
  std::list<std::unique_ptr<DS_Frame>> m_Owned;
};

// One element of a 3D object: a root frame and its children, owned. Destroying it deletes the
// children first, then the root, each with its controller.
class DS_FrameTree {
 public:
  DS_FrameTree() : m_Root(std::make_unique<DS_Frame>()), m_Children(*m_Root) {}
  DS_FrameTree(const DS_FrameTree&) = delete;
  DS_FrameTree& operator=(const DS_FrameTree&) = delete;

  DS_Frame& Root() { return *m_Root; }
  const DS_Frame& Root() const { return *m_Root; }
  DS_FrameChildren& Children() { return m_Children; }

 private:
  std::unique_ptr<DS_Frame> m_Root;  // declared first, so it goes last
  DS_FrameChildren m_Children;
};
