// The slide on the device: its layer and live objects.
#include <vector>

#include "core/layer/ds_2d_light.h"
#include "core/layer/ds_abobj.h"
#include "scene/ds_slide_container.h"

namespace {

// A kind whose parameter set makes no live object leaves no entry: no null object is kept.
void CreateLiveObjects(std::vector<std::unique_ptr<DS_ABObj_Constructor>>& sets,
                       std::vector<DS_RefPtr<DS_ABObj>>& objects) {
  for (const auto& set : sets) {
    std::unique_ptr<DS_ABObj> object = set->CreateObject();
    if (object) objects.emplace_back(std::move(object));
  }
}

}  // namespace

void DS_SlideContainer::CreateObjects() {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) {
    layer->CreateDeviceObjects();
    layer->Layout(1, 1);
  }
  CreateLiveObjects(m_Params1, m_Objects1);
  CreateLiveObjects(m_Params2, m_Objects2);
  m_Params1.clear();
  m_Params2.clear();
}

void DS_SlideContainer::Render() {
  DS_RefPtr<DS_2D_Light> layer = GetLayer();
  if (!layer) return;
  std::vector<DS_ABObj*> objects;
  objects.reserve(m_Objects1.size());
  for (const auto& object : m_Objects1) objects.push_back(object.get());
  layer->RenderScene(objects.data(), objects.size());
}

void DS_SlideContainer::EndFrame() {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->PostRender();
}

void DS_SlideContainer::Update(float time) {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->Update(time);
  for (const auto& object : m_Objects1) object->Update(time);
  for (const auto& object : m_Objects2) object->Update(time);
}

void DS_SlideContainer::Restore() {
  for (const auto& object : m_Objects1) object->RestartControl();
  OnDeviceReset();
}

void DS_SlideContainer::SetSize(int width, int height) {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->Layout(width, height);
}

void DS_SlideContainer::SetPicturePosition(int mode) {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->SetPicturePosition(mode);
}

void DS_SlideContainer::SetActive(bool active) {
  for (const auto& object : m_Objects2) object->SetActive(active);
}

void DS_SlideContainer::OnDeviceLost() {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->OnDeviceLost();
  // Objects holding default-pool targets or fonts must let go of them, or the reset fails.
  for (const auto& object : m_Objects1) object->OnDeviceLost();
  for (const auto& object : m_Objects2) object->OnDeviceLost();
  m_DeviceObjectsMade = false;
}

void DS_SlideContainer::OnDeviceReset() {
  if (m_DeviceObjectsMade) return;
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) {
    layer->OnDeviceReset();
    // The border quads belong to the output's view, which the slide shown before used.
    layer->ApplyBorderImage();
  }
  for (const auto& object : m_Objects1) object->OnDeviceReset();
  for (const auto& object : m_Objects2) object->OnDeviceReset();
  m_DeviceObjectsMade = true;
}
