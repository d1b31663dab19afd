// The one list of the class names the saver registers, by registry. The census test checks that
// each registration survived linking into the executable, and the conformance test
// (tests/program/conformance) checks each class through its registry: its records in every version it
// reads (kVersion, kMinVersion), cut-short records, its live side on a device.
#pragma once

enum class VQ_Registry { Layer, Slide, Constructor };

struct VQ_RegisteredName {
  const char16_t* name;
  VQ_Registry registry;
};

inline constexpr VQ_RegisteredName kRegisteredClassNames[] = {
    {u"DS_2D_Light", VQ_Registry::Layer},
    {u"DS_FlameLight", VQ_Registry::Layer},
    {u"DS_GlassBallLight", VQ_Registry::Layer},
    {u"DS_MatrixCodeLight", VQ_Registry::Layer},
    {u"FakeUndervater", VQ_Registry::Layer},
    {u"FakeLake2D", VQ_Registry::Layer},
    {u"DS_WaterRingLight", VQ_Registry::Layer},
    {u"DS_SlideContainer", VQ_Registry::Slide},
    {u"DS_GodRayConstructor", VQ_Registry::Constructor},
    {u"DS_SparkleConstructor", VQ_Registry::Constructor},
    {u"DS_FlowConstructor", VQ_Registry::Constructor},
    {u"DS_FishConstructor", VQ_Registry::Constructor},
    {u"DS_GhostConstructor", VQ_Registry::Constructor},
    {u"DS_FogConstructor", VQ_Registry::Constructor},
    {u"DS_LightingConstructor", VQ_Registry::Constructor},
    {u"DS_GrassConstructor", VQ_Registry::Constructor},
    {u"DS_RainConstructor", VQ_Registry::Constructor},
    {u"DS_StatObjConstructor", VQ_Registry::Constructor},
    {u"DS_FlowerConstructor", VQ_Registry::Constructor},
    {u"DS_BirdConstructor", VQ_Registry::Constructor},
    {u"DS_DischargeConstructor", VQ_Registry::Constructor},
    {u"DS_DischargeFXConstructor", VQ_Registry::Constructor},
    {u"DS_ButterflyConstructor", VQ_Registry::Constructor},
    {u"DS_ClockConstructor", VQ_Registry::Constructor},
    {u"DS_BackgroundCopy", VQ_Registry::Constructor},
    {u"DS_WavesFX", VQ_Registry::Constructor},
    {u"DS_LightFX", VQ_Registry::Constructor},
    {u"DS_PatternBrush", VQ_Registry::Constructor},
    {u"DS_PatternBrushC", VQ_Registry::Constructor},
    {u"DS_WaterFX", VQ_Registry::Constructor},
    {u"DS_MoveFX", VQ_Registry::Constructor},
    {u"DS_FireFX", VQ_Registry::Constructor},
    {u"DS_ExpandFX", VQ_Registry::Constructor},
    {u"DS_RadialWaveFX", VQ_Registry::Constructor},
    {u"DS_RotationFX", VQ_Registry::Constructor},
    {u"DS_ExplosionConstructor", VQ_Registry::Constructor},
    {u"DS_StaticTextConstructor", VQ_Registry::Constructor},
    {u"DS_3D_in_2D_array_Constructor", VQ_Registry::Constructor},
    {u"DS_WAV_Constructor", VQ_Registry::Constructor},
};
