#include "objects/explosion/ds_explosion_constructor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/data/class_registry.h"
#ifdef _WIN32
#include "core/render/image_set_frames.h"
#include "core/resources/doc_res_manager.h"
#endif

namespace {
void ColourToFloats(uint32_t bgr, float out[3]) {
  for (int i = 0; i < 3; ++i) out[i] = static_cast<float>((bgr >> (8 * i)) & 0xFFu) / 255.0f;
}
}  // namespace

DS_ExplosionConstructor::DS_ExplosionConstructor() {
  // Scale, offset and value of each scaled parameter; the derived numbers follow.
  const struct {
    UINTSclaleTo<float>* param;
    float scale, offset;
    uint32_t value;
  } scaled[] = {{&noiseA, -0.01f, 1.0f, 21}, {&noiseB, 0.01f, 0.0f, 15}, {&noiseC, 0.01f, 0.0f, 42},
                {&noiseDrift, 0.005f, 0.0f, 50}};
  for (const auto& s : scaled) {
    s.param->SetScale(s.scale, s.offset);
    s.param->Set(s.value);
  }
  baseSize.SetDefault(250u);
  speed.SetDefault(100u);
}

DS_ExplosionConstructor::DS_ExplosionConstructor(const DS_ExplosionConstructor& s)
    : DS_ParticleKindT(s),
      noiseA(s.noiseA),
      noiseB(s.noiseB),
      noiseC(s.noiseC),
      direction(s.direction),
      noiseDrift(s.noiseDrift),
      growTime(s.growTime),
      holdTime(s.holdTime),
      fadeTime(s.fadeTime),
      startDelay(s.startDelay),
      pauseTime(s.pauseTime),
      seed(s.seed),
      randomNoise(s.randomNoise),
      colour2(s.colour2),
      previousShift{s.previousShift[0], s.previousShift[1]},
      currentShift{s.currentShift[0], s.currentShift[1]},
      lastSecond(s.lastSecond),
      pairCounter(s.pairCounter),
      elapsed(s.elapsed),
      driftPhase(s.driftPhase),
      driftLastTime(s.driftLastTime)
#ifdef _WIN32
      ,
      gradientTexture(s.gradientTexture),
      noiseTexture(s.noiseTexture)
#endif
{
  // The record stores the angle alone; the live copy works with its axes.
  direction.UpdateAxes();
}

void DS_ExplosionConstructor::RestartCycle() {
  elapsed = 0.0f;
  pairCounter = 1;
  previousShift[0] = previousShift[1] = 0.0f;
  currentShift[0] = currentShift[1] = 0.0f;
  driftPhase = driftLastTime = 0.0f;
}

void DS_ExplosionConstructor::Restart() { RestartCycle(); }

void DS_ExplosionConstructor::AdvanceDrift(float time) {
  // As the speed parameter integrates its phase: a step back restarts from there, long steps
  // count as the longest one.
  if (driftLastTime > time) driftLastTime = time;
  driftPhase += noiseDrift.Derived() * std::min(time - driftLastTime, MediaSpeedParam::kMaxStep);
  driftLastTime = time;
}

void DS_ExplosionConstructor::UpdateParticle(DS_Particle& p) {
  elapsed += FrameTime() * 1000.0f;
  AdvanceDrift(Phase());
  // The cycle in double: five stored times may add up beyond 32 bits.
  const double e = elapsed, delay = startDelay.Get(), grow = growTime.Get(), hold = holdTime.Get(),
               fade = fadeTime.Get();
  if (e > delay + grow + hold + fade + pauseTime.Get()) RestartCycle();
  const DS_Vector3 c = centre.Get();
  p.position = DS_Vec3{c.x, c.y, c.z};
  const double now = elapsed;
  double scale = 1.0;
  if (now < delay + grow) {
    // A grow time of 0 is an instant step to full size.
    const double progress = grow > 0.0 ? (now - delay) / grow : 1.0;
    p.fade = static_cast<float>(std::min(1.0, progress * 5.0));
    p.UpdateColour(*this);
    scale = 0.25 + 0.75 * progress;
  }
  float half = 0.0f;
  if (delay <= now && now <= delay + grow + hold + fade)
    half = static_cast<float>(static_cast<double>(baseSize.Get() / 2) * scale);
  p.halfWidth = p.halfHeight = half;
}

void DS_ExplosionConstructor::NextRandomPair() {
  if (randomNoise.Get() != 0) {
    currentShift[0] = Uniform(*this);
    currentShift[1] = Uniform(*this);
    return;
  }
  std::srand(seed.Get());
  for (int32_t i = 0; i < pairCounter; ++i) {
    currentShift[0] = Uniform(*this);
    currentShift[1] = Uniform(*this);
  }
  ++pairCounter;
}

DS_ExplosionConstructor::ShaderInputs DS_ExplosionConstructor::ComputeShaderInputs() {
  ShaderInputs in{};
  ColourToFloats(colour.Get(), in.color1);
  ColourToFloats(colour2.Get(), in.color2);
  in.noiseParams[0] = noiseA.Derived();
  in.noiseParams[1] = noiseB.Derived();
  in.noiseParams[2] = noiseC.Derived();
  float whole = 0.0f;
  const float frac = std::modf(Phase(), &whole);
  if (lastSecond < whole) {
    previousShift[0] = currentShift[0];
    previousShift[1] = currentShift[1];
    NextRandomPair();
    lastSecond = whole;
  }
  const float dx = -direction.XAxis().x * driftPhase, dy = direction.XAxis().y * driftPhase;
  in.noiseShift[0] = previousShift[0] + dx;
  in.noiseShift[1] = previousShift[1] + dy;
  in.noiseShift[2] = currentShift[0] + dx;
  in.noiseShift[3] = currentShift[1] + dy;
  in.time[0] = frac;
  in.time[1] = 1.0f - frac;
  const double e = elapsed, delay = startDelay.Get(), grow = growTime.Get(), hold = holdTime.Get(),
               fade = fadeTime.Get();
  // Zero grow or fade times are instant steps: no growing left, fully faded.
  double phase3 = 0.0;
  if (e > grow + hold + delay) phase3 = fade > 0.0 ? (e - grow - hold - delay) / fade : 1.0;
  double phase1 = 0.0;
  if (e < delay + grow && grow > 0.0) phase1 = 2.0 * (1.0 - (e - delay) / grow);
  in.phase3[0] = static_cast<float>(phase3);
  in.phase3[1] = static_cast<float>(1.0 - phase3);
  in.phase1 = static_cast<float>(phase1);
  return in;
}

#ifdef _WIN32
void DS_ExplosionConstructor::CreateDeviceObjects() {
  DS_StatBaseFXCtrl::CreateDeviceObjects();
  if (g_DocResManager) {
    gradientTexture = FirstTextureOf(g_DocResManager->GetImageSet(image));
    noiseTexture = FirstTextureOf(g_DocResManager->GetImageSet(overlayImage));
  }
  NextRandomPair();
}

bool DS_ExplosionConstructor::PrepareRender(DS_2D_Light&) {
  if (!effect) return false;
  const ShaderInputs in = ComputeShaderInputs();
  ID3DXEffect* e = effect.Get();
  e->SetTechnique("Main");
  e->SetTexture("GradientTex", gradientTexture.Get());
  e->SetTexture("NoiseTex", noiseTexture.Get());
  e->SetFloatArray("color1", in.color1, 3);
  e->SetFloatArray("color2", in.color2, 3);
  e->SetFloatArray("noise_shift", in.noiseShift, 4);
  e->SetFloatArray("noise_params", in.noiseParams, 3);
  e->SetFloatArray("time", in.time, 2);
  e->SetFloatArray("phase_3rd", in.phase3, 2);
  e->SetFloat("phase_1st", in.phase1);
  return true;
}
#endif

DS_REGISTER_CONSTRUCTOR(DS_ExplosionConstructor);
