#include "core/render/frame.h"

DS_Frame::DS_Frame() : position(0.0f, 0.0f, 0.0f) {
  D3DXMatrixIdentity(&world);
  D3DXMatrixIdentity(&local);
}

void DS_Frame::UpdateWorld(const D3DXMATRIX* parent) {
  if (controller)
    controller->Animate(*this);
  else
    world = local;
  if (parent) D3DXMatrixMultiply(&world, &world, parent);
  for (DS_Frame* child : children)
    if (child) child->UpdateWorld(&world);
}

void DS_Frame::DeleteWithChildren() {
  DeleteFrameRange(children.begin(), children.end());
  delete this;
}

void DS_Frame::SetController(std::unique_ptr<DS_AnimationBase> owned) { controller = std::move(owned); }

void DeleteFrameRange(std::list<DS_Frame*>::iterator first, std::list<DS_Frame*>::iterator last) {
  for (auto it = first; it != last; ++it) {
    if (!*it) continue;
    delete *it;  // the child's destructor frees its controller and its own list
    *it = nullptr;
  }
}
