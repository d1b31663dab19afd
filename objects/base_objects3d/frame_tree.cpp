#include "objects/base_objects3d/frame_tree.h"

DS_Frame& DS_FrameChildren::Append(std::unique_ptr<DS_Frame> child) {
  DS_Frame& added = *child;
  m_Owned.push_back(std::move(child));
  m_Parent.children.push_back(&added);
  return added;
}

void DS_FrameChildren::EraseFirst() {
  if (m_Owned.empty()) return;
  DS_Frame* first = m_Owned.front().get();
  m_Parent.children.remove(first);
  m_Owned.pop_front();
}

void DS_FrameChildren::Clear() {
  while (!m_Owned.empty()) EraseFirst();
}
