#include "layers/underwater/fake_undervater_params.h"

#include "core/layer/layer_parts.h"

DS_REGISTER_LAYER_PART(FakeUndervater, FakeUndervaterParams);
