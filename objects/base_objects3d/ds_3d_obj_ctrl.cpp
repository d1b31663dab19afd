#include "objects/base_objects3d/ds_3d_obj_ctrl.h"

#include <algorithm>
#include <cstdlib>

#ifdef _WIN32
#include "core/layer/ds_2d_light.h"
#include "core/render/quads.h"
#endif

// Parameter set --------------------------------------------------------------------------------

DS_3D_Obj_Ctrl::DS_3D_Obj_Ctrl() { speed.SetDefault(50u); }

DS_3D_Obj_Ctrl::DS_3D_Obj_Ctrl(const DS_3D_Obj_Ctrl& source)
    : DS_ViewObjCtrl(source), count(source.count), size(source.size), image(source.image), mesh(source.mesh) {}

DS_3D_Obj_Ctrl::~DS_3D_Obj_Ctrl() = default;


// Random draws ---------------------------------------------------------------------------------

float RandomUnit() { return static_cast<float>(std::rand() & 0x7FFF) / 32767.0f; }
int RandomCoin() { return std::rand() & 1; }

// Live object (Windows only) --------------------------------------------------------------------

#ifndef _WIN32
std::unique_ptr<DS_ABObj> DS_3D_Obj_Ctrl::CreateObject() const { return nullptr; }
#else
std::unique_ptr<DS_ABObj> DS_3D_Obj_Ctrl::CreateObject() const { return std::make_unique<DS_3DObjArray>(Clone()); }

void DS_3D_Obj_Ctrl::AssignRootsAndChildren(const DS_ElementList& elements, std::vector<DS_MeshPart>& parts) {
  if (parts.size() < 2) return;
  parts[0].frames.clear();
  parts[1].frames.clear();
  for (const auto& element : elements) {
    DS_Frame& root = element->Root();
    parts[1].frames.insert(parts[1].frames.begin(), root.children.begin(), root.children.end());
    parts[0].frames.push_back(&root);
  }
}

DS_3DObjArray::DS_3DObjArray(std::unique_ptr<DS_3D_Obj_Ctrl> clone)
    : DS_ABObj(std::move(clone)), m_Ctrl(static_cast<DS_3D_Obj_Ctrl*>(Control())) {
  m_Ctrl->BuildMeshParts(m_Parts);
  // Attaching runs the listener once: the element trees exist from here on.
  m_Listeners.SetOwner(this, false);
  DS_AttachListener(m_Listeners, m_Ctrl->count, &DS_3DObjArray::OnCountChanged);
}

DS_3DObjArray::~DS_3DObjArray() {
  // The trees first (their controllers leave the clone's parameters), then the parts.
  m_Elements.clear();
  for (DS_MeshPart& part : m_Parts) part.frames.clear();
}

void DS_3DObjArray::OnCountChanged(uint32_t n) {
  const size_t wanted = std::min(n, DS_3D_Obj_Ctrl::kMaxElements);
  while (m_Elements.size() < wanted) m_Elements.push_back(m_Ctrl->BuildFrameTree());
  while (m_Elements.size() > wanted) m_Elements.pop_front();
  m_Ctrl->AssignPartFrames(m_Elements, m_Parts);
}

void DS_3DObjArray::Update(float time) {
  m_Ctrl->Step(time);
  for (const auto& element : m_Elements) element->Root().UpdateWorld(nullptr);
}

void DS_3DObjArray::Render(DS_2D_Light& layer) {
  for (const DS_MeshPart& part : m_Parts) {
    DS_Object3DPartView view;
    view.mesh = &part;
    view.frames = part.frames.data();
    view.frameCount = part.frames.size();
    layer.DrawObject3D(view);
  }
}

void DS_3DObjArray::DrawBounds(DS_2D_Light& layer, int mode) {
  DS_ScreenQuad corners;
  m_Ctrl->PixelQuad(corners);
  DS_SimpleMesh<DX_V::PC> bounds;
  MakeColouredQuadPC(bounds, 0x88000000u, corners);
  layer.DrawMarkers(bounds, m_Ctrl->MarkerFlag(mode), false);
}
#endif
