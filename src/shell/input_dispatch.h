#pragma once
// The window's input as the scene lists take it. Key and button presses count only while the
// player is in the foreground; a key that the system repeats while held is not a new press (the
// scene lists make their own repeats on the frame clock). Losing the foreground forgets the keys
// held, so none stays down for ever.

#include "platform/platform.h"

namespace kest {
class TKestBaseList;
}

namespace kest::shell {

enum class Foreground : bool { No = false, Yes = true };

// Hands one input event to the scene lists. Activation, close requests and text input are the
// caller's; they are ignored here (except that deactivation clears the keys).
void DeliverInput(const platform::InputEvent& event, TKestBaseList& scene, Foreground foreground);

}  // namespace kest::shell
