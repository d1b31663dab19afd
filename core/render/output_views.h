// One view state and one screen mapping per output. g_ViewState and the mapping globals always
// hold the current output's: each output has its own device, and border quads made on one
// device must never be drawn on another, nor one monitor's layout used on a monitor of another
// size. The framework selects the output's view whenever it makes an output current.
#pragma once

constexpr unsigned kMaxOutputViews = 10;

// Makes output `index` the one g_ViewState and the mapping globals belong to; the previous
// output's are kept aside until it is selected again. Output 0 is selected at start.
void SelectOutputView(unsigned index);
unsigned SelectedOutputView();
// Releases the device objects (border quads) of output `index`'s view, current or kept aside;
// called before that output's device is released.
void ReleaseOutputView(unsigned index);
