// A class that registers itself and that no code of the census program names: it is only
// present if the object-library linking keeps self-registering objects, as the saver needs.
#include <stdexcept>

#include "core/data/class_registry.h"

namespace {

class VQCensus_Probe final : public DS_ABObj_Constructor {
 public:
  // Stand-ins have no live object (that class belongs to the rendering side).
  std::unique_ptr<DS_ABObj> CreateObject() const override { throw std::logic_error("no live object"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t) { ReadBase(in); }
};

}  // namespace

DS_REGISTER_CONSTRUCTOR(VQCensus_Probe);
