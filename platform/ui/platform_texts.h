#pragma once

namespace platform {

// Puts the platform's own words that the tool shows (message-box buttons, the text boxes'
// context menu) into Thai, like the rest of the interface. Call once, after the
// application object exists.
void installThaiPlatformTexts();

} // namespace platform
