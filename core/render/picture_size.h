// The current layer picture's pixel size, published with the screen mapping (view_state.h): the
// unit of every view-rectangle fraction. Platform-free, so that the parameter sets that scale
// with the picture build everywhere; 0 x 0 until a layer has laid out a picture.
#pragma once

inline int g_PictureWidth = 0;
inline int g_PictureHeight = 0;
