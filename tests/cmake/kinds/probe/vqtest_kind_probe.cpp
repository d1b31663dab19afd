#include "tests/cmake/kinds/probe/vqtest_kind_probe.h"

#include <stdexcept>

#include "core/data/class_registry.h"

void VQTest_KindProbe::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"VQTest_KindProbe", kVersion);
  out.WriteInt(value);
  WriteObject(out);
}

void VQTest_KindProbe::ReadFields(DS_IOF_Virtual& in, uint32_t) {
  in.ReadInt(value);
  ReadBase(in);
}

std::unique_ptr<DS_ABObj> VQTest_KindProbe::CreateObject() const {
  throw std::logic_error("VQTest_KindProbe has no live object");
}

DS_REGISTER_CONSTRUCTOR(VQTest_KindProbe);
