#pragma once
// Drawing the loading bar into the show's window.

namespace demo {

class Window;

// Draws one frame of the bar at `fraction` (0 empty, 1 full) into the current
// context's back buffer, without presenting it.
void drawProgressBarFrame(float fraction);

// Makes the progress bar draw into `window` (not null) and swap its buffers.
void attachProgressBar(Window* window);
// Stops the bar drawing into `window`, if it does (a window being destroyed).
void detachProgressBar(Window* window);

}  // namespace demo
