// Host stand-ins for the classes of the slide that need the device: a base layer that reads the
// base layer record, and a parameter set "VQTest_Recorder" (registered here) whose record is
// only the base part. Installed as the slide's parts reader on the host.
#pragma once

#include "core/data/abobj_constructor.h"
#include "core/data/file_links.h"

class DS_2D_Light {
 public:
  virtual ~DS_2D_Light();
  DS_ResourceKey picture;
  int32_t cameraMode = 0;
  uint32_t zoom = 0, speed = 0;
  DS_ResourceKey border;
};

class VQTest_Recorder final : public DS_ABObj_Constructor {
 public:
  std::unique_ptr<DS_ABObj> CreateObject() const override { return nullptr; }
  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
};

void InstallHostSlideParts();
// Layers destroyed so far (the holders destroy them exactly once).
extern int g_HostLayersDestroyed;
