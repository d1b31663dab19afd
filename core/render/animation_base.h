// The base of every animation controller a frame owns: it writes the frame's world matrix from
// the frame's local matrix and its own state.
#pragma once

class DS_Frame;

class DS_AnimationBase {
 public:
  virtual ~DS_AnimationBase() = default;
  virtual void Animate(DS_Frame& frame) = 0;
  virtual void SetTime(float value) { time = value; }

  float time = 0.0f;
};
