#include "shell/input_dispatch.h"

#include <type_traits>

#include "objects/scene_list.h"

namespace kest::shell {

void DeliverInput(const platform::InputEvent& event, TKestBaseList& scene, Foreground foreground) {
  using namespace platform;
  const bool active = foreground == Foreground::Yes;
  std::visit(
      [&](const auto& e) {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, MouseMove>) {
          scene.MouseMoved(e.position.x, e.position.y);
        } else if constexpr (std::is_same_v<E, ButtonDown>) {
          if (active) scene.MouseButtons(e.button == MouseButton::kLeft, e.button == MouseButton::kRight);
        } else if constexpr (std::is_same_v<E, ButtonUp>) {
          scene.MouseReleased();
        } else if constexpr (std::is_same_v<E, Wheel>) {
          scene.Wheel(e.direction == WheelDirection::kDown);
        } else if constexpr (std::is_same_v<E, KeyDown>) {
          if (active && e.repeat == KeyRepeat::kFirst) {
            scene.SetKey(e.virtual_key, true);
            scene.PostKeyPress(e.virtual_key);
          }
        } else if constexpr (std::is_same_v<E, KeyUp>) {
          scene.SetKey(e.virtual_key, false);
        } else if constexpr (std::is_same_v<E, Deactivate>) {
          scene.ClearKeys();
        }
      },
      event);
}

}  // namespace kest::shell
