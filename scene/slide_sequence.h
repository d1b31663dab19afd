// Which slide of the show is current and how dark the fade overlay is: the timing part of the
// slide show, kept apart from the device so that it can be checked on its own.
//
// Slides run 0, 1, ..., n-1, 0, ... Each fades in from black over F seconds, shows D seconds and
// fades out over O seconds; slide 0 starts at the end of its fade-in the very first time. A show
// of one slide is never faded nor switched.
#pragma once

#include <cstddef>

struct DS_SlideTimes {
  float fadeIn = 0, display = 0, fadeOut = 0;
};

class DS_SlideSequence {
 public:
  struct Step {
    bool first = false;        // slide 0 has just become current (the show's first update)
    bool switched = false;     // the previous slide was left for `current`
    size_t previous = 0;       // the slide left when `switched`
    size_t current = 0;
    bool hasOverlay = false;   // whether the overlay's transparency is to be set this frame
    float overlay = 0;         // 0 transparent .. 1 black
  };

  bool Started() const { return m_Started; }
  size_t Current() const { return m_Current; }
  float StartTime() const { return m_Start; }

  // One frame at application time t for a show of `slideCount` slides (at least 1); `times`
  // gives a slide's durations.
  template <class TimesOf>
  Step Advance(float t, size_t slideCount, TimesOf&& times) {
    Step step;
    if (!m_Started) {
      m_Started = true;
      m_Current = 0;
      m_Next = 1;
      m_Start = t - times(0).fadeIn;
      step.first = true;
      step.current = 0;
      return step;
    }
    step.current = m_Current;
    if (slideCount < 2) return step;
    const DS_SlideTimes slide = times(m_Current);
    if (t - m_Start > slide.fadeIn + slide.display + slide.fadeOut) {
      step.switched = true;
      step.previous = m_Current;
      m_Current = m_Next < slideCount ? m_Next : 0;
      m_Start = t;
      m_Next = m_Current + 1 < slideCount ? m_Current + 1 : 0;
      step.current = m_Current;
    }
    step.hasOverlay = true;
    step.overlay = OverlayValue(t - m_Start, slide);
    return step;
  }

  // (F - e) / F during the fade-in, 0 while displayed, (e - F - D) / O during the fade-out.
  static float OverlayValue(float elapsed, const DS_SlideTimes& slide) {
    if (elapsed < slide.fadeIn) return (slide.fadeIn - elapsed) / slide.fadeIn;
    if (elapsed <= slide.fadeIn + slide.display) return 0.0f;
    return (elapsed - slide.fadeIn - slide.display) / slide.fadeOut;
  }

 private:
  bool m_Started = false;
  size_t m_Current = 0;
  size_t m_Next = 1;
  float m_Start = 0;
};
