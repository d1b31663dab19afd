// The scene viewer's command line:
//   scene-viewer --doc <file> --out <dir> [--size WxH] [--times t0,t1,...] [--step s]
//                [--position 0|1|2] [--pan] [--seed n] [--reset-before t] [--trace]
//                [--clock HH:MM:SS]
#pragma once

#include <string>
#include <vector>

struct ViewerOptions {
  std::wstring document;
  std::wstring outputDir;
  int width = 640, height = 480;
  std::vector<float> times{0.0f};  // the frames to write, in seconds of application time
  float step = 1.0f / 30.0f;       // the frame interval between them
  int picturePosition = 1;         // Fit
  bool randomPan = false;          // the wander a slide turns on when it becomes current
  unsigned seed = 1;
  float resetBefore = -1.0f;       // < 0: no device loss
  bool trace = false;              // camera positions at the written frames, to camera.txt
  int clockSeconds = 10 * 3600 + 8 * 60 + 30;  // the local time clocks show, seconds after midnight
};

// False, with a message for the user, for an unknown switch or a malformed value.
bool ParseViewerOptions(const std::vector<std::wstring>& args, ViewerOptions& options, std::wstring& error);

// Frame times from 0 to the last requested time every `step` seconds, with each requested time
// included exactly; sorted, without duplicates.
std::vector<float> FrameSchedule(const std::vector<float>& requested, float step);
