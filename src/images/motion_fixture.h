#pragma once
// Motion files with every field filled, for tests, fuzz seeds and the demo's generator: each
// field of a sample track holds its own value (times even and sound values on the old scale's
// grid, so a file of any version reads back what was written).

#include <cstdint>

#include "images/motion.h"

namespace kest {

// A track of `kind` with every field its records carry set from `seed` (no parent, start 0).
MotionTrackRecord SampleMotionTrack(TrackKind kind, std::int32_t seed);

// One sample track of every kind, in kind order, in a file of `version`.
MotionFile SampleMotionFile(std::int32_t version, MotionFileType type = MotionFileType::Motion);

// The record as a file of `version` holds it: fields the version does not store take what the
// reader gives them (zoom y from zoom x before 105, no crop of image parts and boxes before
// 101, no transition extras before 101, the label's ignored int32 and late byte before 103).
MotionTrackRecord AsStoredIn(MotionTrackRecord record, std::int32_t version);

}  // namespace kest
