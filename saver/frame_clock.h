// The application clock: seconds since the main loop first started, from the performance counter
// when there is one, else from the multimedia timer. Process-wide, like the loop it serves.
#pragma once

void StartFrameClock();
double FrameClockSeconds();  // 0 at the first start
