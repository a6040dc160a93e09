#pragma once

namespace platform {

// Settles, before the application object exists, how the windows reach the window system.
// On X11 a window's pixels travel in the requests themselves rather than through shared
// memory: Qt waits for a round trip to the X server before it repaints any part it sent
// through shared memory, and for this program's small repaints (a box, a display) that wait
// costs more than the few kilobytes it saves.
void prepareWindowSystem();

} // namespace platform
