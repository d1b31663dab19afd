#include "core/layer/ds_abobj.h"

#include "core/data/abobj_constructor.h"

DS_ABObj::DS_ABObj() = default;
DS_ABObj::DS_ABObj(std::unique_ptr<DS_ABObj_Constructor> control) : m_Control(std::move(control)) {}
DS_ABObj::~DS_ABObj() = default;

uint32_t DS_ABObj::ForwardToCtrl() { return m_Control ? m_Control->ObjectQuery(this) : 0; }

void DS_ABObj::RestartControl() {
  if (m_Control) m_Control->Restart();
}
