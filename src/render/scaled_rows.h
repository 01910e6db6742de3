#pragma once
// Shared by the scaled, rotated and tiled draws: gathering source pixels through a table of
// source columns, and the placement of a scaled draw (16.16 fixed point, 64-bit accumulators).

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "render/geometry.h"
#include "render/row_engine.h"

namespace kest {

// The mapping of a destination rectangle onto a source rectangle, after clipping: destination
// column dst.left + k reads source column columns[k]; destination row dst.top + r reads source
// row rows[r], or skips it when rows[r] is -1. Column and row indexes are always inside the
// source surface.
struct ScaledPlan {
  Rect dst;
  std::vector<std::int32_t> columns;  // sized to the clipped destination width
  std::vector<std::int32_t> rows;
};

// Plans a scaled draw of `src` (within a source of size `source_bounds`) into `dst` under
// `limit`. Nothing when either rectangle is empty or the clipped destination is empty.
std::optional<ScaledPlan> PlanStretch(const Rect& dst, const Rect& src, Flip flip, const Rect& limit,
                                      const Rect& source_bounds);

// Source values of one row through a column table.
void GatherRow(const SurfaceView& view, std::int32_t y, std::span<const std::int32_t> columns, std::uint32_t* out);
void GatherMaskRow(const SurfaceView& view, std::int32_t y, std::span<const std::int32_t> columns, std::uint8_t* out);

// Draws a plan with one row operation (source and mask gathered through the tables).
void DrawPlan(TCustomDIBX& dst, const ScaledPlan& plan, TCustomDIBX* source, TCustomDIBX* mask, const RowOp& op);

// Floor division and a remainder in 0 to m - 1, for any sign of a (m > 0).
inline std::int64_t FloorDiv(std::int64_t a, std::int64_t m) { return a >= 0 ? a / m : -((-a + m - 1) / m); }
inline std::int64_t FloorMod(std::int64_t a, std::int64_t m) { return a - FloorDiv(a, m) * m; }

// A real truncated toward zero into 64 bits, saturating; NaN gives 0.
std::int64_t TruncToInt64(double value);

}  // namespace kest
