// Draws a picture button's face for its current state.
#pragma once

#include "framework/Gdi.h"
#include "framework/Resources.h"
#include "shell/SkinButton.h"

// Loads the face from the resources of hInstance each time and releases it
// right after; a face that cannot be loaded is not drawn.
void DrawSkinButton(HDC hdc, HINSTANCE hInstance, const SkinButton* button);
