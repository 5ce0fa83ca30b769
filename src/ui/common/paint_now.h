#pragma once

namespace listora {

// Long work runs on the user-interface thread, so nothing paints until it
// ends; a box or menu that has just closed would stay drawn over the window
// meanwhile. This paints every shown window at once, without handling any
// other event.
void paintShownWindowsNow();

}  // namespace listora
