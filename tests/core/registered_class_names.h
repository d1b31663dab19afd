// The one list of the class names the saver registers, by registry. A class is marked built
// once its area is in the tree; the census test then checks that its registration survived
// linking into the executable, and the conformance test (tests/conformance) checks it through
// its registry: its records in every version it reads (kVersion, kMinVersion), cut-short records,
// its live side on a device. Extend the marks (never the names) as the classes arrive.
#pragma once

enum class VQ_Registry { Layer, Slide, Constructor };

struct VQ_RegisteredName {
  const char16_t* name;
  VQ_Registry registry;
  bool built;
};

inline constexpr VQ_RegisteredName kRegisteredClassNames[] = {
    {u"DS_2D_Light", VQ_Registry::Layer, true},
    {u"DS_FlameLight", VQ_Registry::Layer, true},
    {u"DS_GlassBallLight", VQ_Registry::Layer, true},
    {u"DS_MatrixCodeLight", VQ_Registry::Layer, true},
    {u"FakeUndervater", VQ_Registry::Layer, true},
    {u"FakeLake2D", VQ_Registry::Layer, true},
    {u"DS_WaterRingLight", VQ_Registry::Layer, true},
    {u"DS_SlideContainer", VQ_Registry::Slide, true},
    {u"DS_GodRayConstructor", VQ_Registry::Constructor, true},
    {u"DS_SparkleConstructor", VQ_Registry::Constructor, true},
    {u"DS_FlowConstructor", VQ_Registry::Constructor, true},
    {u"DS_FishConstructor", VQ_Registry::Constructor, true},
    {u"DS_GhostConstructor", VQ_Registry::Constructor, true},
    {u"DS_FogConstructor", VQ_Registry::Constructor, true},
    {u"DS_LightingConstructor", VQ_Registry::Constructor, true},
    {u"DS_GrassConstructor", VQ_Registry::Constructor, true},
    {u"DS_RainConstructor", VQ_Registry::Constructor, true},
    {u"DS_StatObjConstructor", VQ_Registry::Constructor, true},
    {u"DS_FlowerConstructor", VQ_Registry::Constructor, true},
    {u"DS_BirdConstructor", VQ_Registry::Constructor, true},
    {u"DS_DischargeConstructor", VQ_Registry::Constructor, true},
    {u"DS_DischargeFXConstructor", VQ_Registry::Constructor, true},
    {u"DS_ButterflyConstructor", VQ_Registry::Constructor, true},
    {u"DS_ClockConstructor", VQ_Registry::Constructor, true},
    {u"DS_BackgroundCopy", VQ_Registry::Constructor, true},
    {u"DS_WavesFX", VQ_Registry::Constructor, true},
    {u"DS_LightFX", VQ_Registry::Constructor, true},
    {u"DS_PatternBrush", VQ_Registry::Constructor, true},
    {u"DS_PatternBrushC", VQ_Registry::Constructor, true},
    {u"DS_WaterFX", VQ_Registry::Constructor, true},
    {u"DS_MoveFX", VQ_Registry::Constructor, true},
    {u"DS_FireFX", VQ_Registry::Constructor, true},
    {u"DS_ExpandFX", VQ_Registry::Constructor, true},
    {u"DS_RadialWaveFX", VQ_Registry::Constructor, true},
    {u"DS_RotationFX", VQ_Registry::Constructor, true},
    {u"DS_ExplosionConstructor", VQ_Registry::Constructor, true},
    {u"DS_StaticTextConstructor", VQ_Registry::Constructor, true},
    {u"DS_3D_in_2D_array_Constructor", VQ_Registry::Constructor, true},
    {u"DS_WAV_Constructor", VQ_Registry::Constructor, true},
};
