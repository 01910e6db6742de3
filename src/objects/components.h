#pragma once
// The concrete kinds of display object. Each kind is present as its class so that scripts can
// create it, name it, place it in the tree and read back its properties; the kinds whose own
// drawing and behaviour are not built yet keep the values written to their properties and draw
// nothing (TKestPlainControl, TKestPlainComponent). The picture kinds and the box are built
// (components/).

#include <memory>

#include "objects/components/box.h"
#include "objects/components/button.h"
#include "objects/components/image.h"
#include "objects/components/images.h"
#include "objects/components/tile.h"
#include "objects/object.h"

namespace kest {

// ---- pictures (components/)
// Preview images are not built yet: they keep their values (their own picture sources
// included) and draw nothing.
class TKestPrevImages : public TKestImages {
 public:
  explicit TKestPrevImages(TKestBaseList& owner) : TKestImages(owner, LT_IMAGES) {}
  bool IsBuilt() const override { return false; }
};
// One particle of the particle kind: a picture store that takes no automatic name. Not built
// yet: it shows no frames.
class TKestParticleImages : public TKestCustomImages {
 public:
  explicit TKestParticleImages(TKestBaseList& owner) : TKestCustomImages(owner, LT_NONE) {}
  bool WantsAutoName() const override { return false; }
  bool IsBuilt() const override { return false; }

 protected:
  TKestImageList* CurrentList() override { return nullptr; }
  bool Repeats() const override { return false; }
};
class TKestVideo : public TKestCustomImage {
 public:
  explicit TKestVideo(TKestBaseList& owner) : TKestCustomImage(owner, LT_VIDEO) {}
  bool IsBuilt() const override { return false; }
};

// ---- other controls, one class per kind
template <std::uint8_t Kind>
class TKestKindControl : public TKestPlainControl {
 public:
  explicit TKestKindControl(TKestBaseList& owner) : TKestPlainControl(owner, Kind) {}
};
using TKestMapImage = TKestKindControl<LT_MAPIMG>;
using TKestFire = TKestKindControl<LT_FIRE>;
using TKestWave = TKestKindControl<LT_WAVE>;
using TKestParticle = TKestKindControl<LT_PARTICLE>;
using TKestCinema = TKestKindControl<LT_CINEMA>;
using TKestPrevMenu = TKestKindControl<LT_PREVMENU>;
using TKestLabel = TKestKindControl<LT_LABEL>;
using TKestCGLabel = TKestKindControl<LT_CGLABEL>;
using TKestMes = TKestKindControl<LT_MES>;
using TKestEdit = TKestKindControl<LT_EDIT>;
using TKestMemo = TKestKindControl<LT_MEMO>;
using TKestGauge = TKestKindControl<LT_GAUGE>;

class TKestCustomListBox : public TKestPlainControl {
 public:
  using TKestPlainControl::TKestPlainControl;
};
class TKestMenu : public TKestCustomListBox {
 public:
  explicit TKestMenu(TKestBaseList& owner) : TKestCustomListBox(owner, LT_MENU) {}
};
class TKestSlider : public TKestPlainControl {
 public:
  explicit TKestSlider(TKestBaseList& owner, std::uint8_t kind = LT_SLIDER) : TKestPlainControl(owner, kind) {}
};
class TKestScrollbar : public TKestSlider {
 public:
  explicit TKestScrollbar(TKestBaseList& owner) : TKestSlider(owner, LT_SCROLLBAR) {}
};

// ---- non-visual kinds
template <std::uint8_t Kind>
class TKestKindComponent : public TKestPlainComponent {
 public:
  explicit TKestKindComponent(TKestBaseList& owner) : TKestPlainComponent(owner, Kind) {}
};
using TKestSound = TKestKindComponent<LT_SOUND>;
using TKestTimer = TKestKindComponent<LT_TIMER>;
using TKestPropMotion = TKestKindComponent<LT_PROPMOTION>;
using TKestHttp = TKestKindComponent<LT_HTTP>;

// The factory behind CreateByKind: the object of a kind code 2..27, none for 0, 1, 10 and
// codes above 27. The scene list names and registers it.
std::unique_ptr<TKestObject> MakeObjectOfKind(TKestBaseList& owner, std::uint8_t kind);

}  // namespace kest
