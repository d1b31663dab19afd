// A class that registers itself and that no code of the census program names: it is only
// present if the object-library linking keeps self-registering objects, as the saver needs.
#include "core/data/class_registry.h"

namespace {

class VQCensus_Probe final : public DS_ABObj_Constructor {
 public:
  std::unique_ptr<DS_ABObj> CreateObject() const override { return nullptr; }
  void ReadFields(DS_IOF_Virtual& in, uint32_t) { ReadBase(in); }
};

}  // namespace

DS_REGISTER_CONSTRUCTOR(VQCensus_Probe);
