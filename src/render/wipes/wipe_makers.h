#pragma once
// The constructors the kind table calls, one per class; each family file defines its own.

#include <memory>

#include "render/wipes/wipe.h"

#define KEST_WIPE_MAKER(T)                                                                        \
  std::unique_ptr<TCustomWipe> Make##T(TCustomDIBX& destination, TCustomDIBX& to, TCustomDIBX& from) { \
    return std::make_unique<T>(destination, to, from);                                            \
  }

namespace kest {

#define KEST_DECLARE_WIPE_MAKER(T) \
  std::unique_ptr<TCustomWipe> Make##T(TCustomDIBX& destination, TCustomDIBX& to, TCustomDIBX& from);

KEST_DECLARE_WIPE_MAKER(TWipeFade)
KEST_DECLARE_WIPE_MAKER(TWipeBlindH)
KEST_DECLARE_WIPE_MAKER(TWipeBlindV)
KEST_DECLARE_WIPE_MAKER(TWipeCurtainH)
KEST_DECLARE_WIPE_MAKER(TWipeCurtainV)
KEST_DECLARE_WIPE_MAKER(TWipeScrollH)
KEST_DECLARE_WIPE_MAKER(TWipeScrollV)
KEST_DECLARE_WIPE_MAKER(TWipeGrid)
KEST_DECLARE_WIPE_MAKER(TWipeGridH)
KEST_DECLARE_WIPE_MAKER(TWipeGridV)
KEST_DECLARE_WIPE_MAKER(TWipeDither)
KEST_DECLARE_WIPE_MAKER(TWipeWhite)
KEST_DECLARE_WIPE_MAKER(TWipeBlack)
KEST_DECLARE_WIPE_MAKER(TWipeFlash)
KEST_DECLARE_WIPE_MAKER(TWipeMosaic)
KEST_DECLARE_WIPE_MAKER(TWipeSudareH)
KEST_DECLARE_WIPE_MAKER(TWipeSudareV)
KEST_DECLARE_WIPE_MAKER(TWipeSpot)
KEST_DECLARE_WIPE_MAKER(TWipeShadow)
KEST_DECLARE_WIPE_MAKER(TWipeShadowWhite)
KEST_DECLARE_WIPE_MAKER(TWipeShadowBlack)
KEST_DECLARE_WIPE_MAKER(TWipeSmall)
KEST_DECLARE_WIPE_MAKER(TWipeBig)
KEST_DECLARE_WIPE_MAKER(TWipeRipple)
KEST_DECLARE_WIPE_MAKER(TWipeBlurWhite)
KEST_DECLARE_WIPE_MAKER(TWipeBlurBlack)
KEST_DECLARE_WIPE_MAKER(TWipeTwistH)
KEST_DECLARE_WIPE_MAKER(TWipeTwistV)
KEST_DECLARE_WIPE_MAKER(TWipeCrack)
KEST_DECLARE_WIPE_MAKER(TWipeZoomin)
KEST_DECLARE_WIPE_MAKER(TWipeClockhand)
KEST_DECLARE_WIPE_MAKER(TWipeRubberH)
KEST_DECLARE_WIPE_MAKER(TWipeRubberV)
KEST_DECLARE_WIPE_MAKER(TWipeFan)
KEST_DECLARE_WIPE_MAKER(TWipeWFan)
KEST_DECLARE_WIPE_MAKER(TWipeCircle)
KEST_DECLARE_WIPE_MAKER(TWipeBlockCoil)
KEST_DECLARE_WIPE_MAKER(TWipeBlockRandom)

#undef KEST_DECLARE_WIPE_MAKER

}  // namespace kest
