// One particle of a particle system and the arithmetic that turns it into a textured sprite:
// its construction from the parameter set, its colour, its corner and the edge tests against the
// view rectangle, the sprite-sheet clock shared by all particles of a system and the four
// vertices of one sprite. Platform-free: the host tests run all of it.
#pragma once

#include <cstdint>

#include "core/render/vertex_records.h"

class DS_BaseSpriteProp;

struct DS_Vec3 {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

// A turn about the z axis by `angle` radians, applied to row vectors as a 4 x 4 rotation matrix
// of the same angle would be (x' = x cos - y sin, y' = x sin + y cos).
struct DS_RotationZ {
  float c = 1.0f, s = 0.0f;
  static DS_RotationZ Of(float angle);
  DS_Vec3 Apply(const DS_Vec3& v) const;
};

// A fresh uniform number rand() / 32767 and a coin (the low bit of a fresh rand()) from the
// control's random source.
float Uniform(const DS_BaseSpriteProp& control);
bool Coin(const DS_BaseSpriteProp& control);

// The largest sprite count one geometry draws: four vertices per sprite with 16-bit indices.
constexpr uint32_t kMaxSpritesPerSystem = 16383;

struct DS_Particle {
  // Zero motion, unit axes, centre (100, 100), the full texture, a random size factor in the
  // control's range and the standard size for the picture's aspect (height over width of the
  // whole picture; of one frame once divided by the sheet's frame count).
  DS_Particle(DS_BaseSpriteProp& control, float pictureAspect);

  // Full fade, timers cleared, the control's fade rate with a random sign, the colour.
  void Reset(DS_BaseSpriteProp& control);
  // alpha = low byte of trunc(opacity x fade); colour = alpha RGB from the 0x00BBGGRR word.
  void UpdateColour(const DS_BaseSpriteProp& control);
  // The longer side is `extent` x 2 (the standard size of every kind).
  void SetStandardSize(float extent);
  DS_Vec3 GetCorner() const;

  // Wholly beyond an edge (magnitudes of the half sizes).
  bool IsOutsideLeft(const DS_BaseSpriteProp& control) const;
  bool IsOutsideRight(const DS_BaseSpriteProp& control) const;
  bool IsOutsideTop(const DS_BaseSpriteProp& control) const;
  bool IsOutsideBottom(const DS_BaseSpriteProp& control) const;
  // Reaching over an edge (signed half sizes).
  bool TouchesTop(const DS_BaseSpriteProp& control) const;
  bool TouchesBottom(const DS_BaseSpriteProp& control) const;
  bool TouchesLeft(const DS_BaseSpriteProp& control) const;
  bool TouchesRight(const DS_BaseSpriteProp& control) const;

  DS_Vec3 flowSign;
  DS_Vec3 velocity;  // grass: sway phase in y, root x in z; flows: drift factor in z
  DS_Vec3 position;
  float sizeFactor = 1.0f;
  DS_RotationZ spin;  // fog's turn per update
  float texTop = 0.0f, texBottom = 1.0f, texLeft = 0.0f, texRight = 1.0f;
  float halfWidth = 0.0f, halfHeight = 0.0f;  // a negative half width mirrors the sprite
  float aspect = 1.0f;
  DS_Vec3 axisA{1.0f, 0.0f, 0.0f};
  DS_Vec3 axisB{0.0f, 1.0f, 0.0f};
  float fade = 1.0f;
  float timer = 0.0f;
  int32_t boundEdge = -1;
  int32_t wrapped = 0;
  float delayEnd = 0.0f, delayClock = 0.0f;
  bool waiting = false;
  uint32_t colour = 0;
  float fadeRate = 0.0f;
};

// The sprite-sheet frame that every particle of a system shows, stepped at the sheet's frame
// rate against the control's phase.
struct DS_SpriteSheetClock {
  float sheetTime = 0.0f;
  uint32_t sheetFrame = 0;

  // Moves to the control's next frame once more than 1 / rate has passed since the last switch;
  // a phase that went back restarts the clock. Nothing when the sheet does not animate.
  void Advance(DS_BaseSpriteProp& control, float phase);
  // The u range of the current frame, mirrored by the horizontal flip.
  void USpan(const DS_BaseSpriteProp& control, float& a0, float& a1) const;
};

// The four vertices of one sprite: 0 = corner + B, 1 = corner, 2 = corner + A + B, 3 = corner + A
// with A and B the full width and height axes, the particle's colour, and its texture rectangle
// (with the flips, and the sheet's u range when the sheet animates).
void WriteSpriteVertices(const DS_Particle& p, const DS_BaseSpriteProp& control, const DS_SpriteSheetClock& sheet,
                         DX_V::PCT* vertices);
// The six indices of every sprite j < n: 4j, 4j+1, 4j+2, 4j+2, 4j+1, 4j+3.
void WriteSpriteIndices(uint32_t n, uint16_t* indices);
