#include "render/row_engine.h"

#include <algorithm>
#include <cstring>

#include "render/row_kernels.h"

namespace kest {

SurfaceView::SurfaceView(TCustomDIBX& surface) : surface_(surface), format_(&surface.Format()) {
  if (surface.IsEmpty()) return;
  origin_ = surface.PixelAddress(0, 0);
  pitch_ = surface.Pitch();
}

SurfaceView::~SurfaceView() {
  if (origin_ != nullptr) surface_.Unlock();
}

std::optional<Placement> PlaceSource(std::int64_t x, std::int64_t y, Rect src, Flip flip, const Rect& limit,
                                     const Rect& readable) {
  const bool flip_h = FlipsH(flip), flip_v = FlipsV(flip);
  // Drop what cannot be read. A cut on the source's near side moves the destination, unless the
  // axis is mirrored, where the far side maps to the destination's start.
  std::int64_t sl = src.left, st = src.top, sr = src.right, sb = src.bottom;
  const std::int64_t cut_l = std::max<std::int64_t>(0, readable.left - sl);
  const std::int64_t cut_t = std::max<std::int64_t>(0, readable.top - st);
  const std::int64_t cut_r = std::max<std::int64_t>(0, sr - readable.right);
  const std::int64_t cut_b = std::max<std::int64_t>(0, sb - readable.bottom);
  sl += cut_l, st += cut_t, sr -= cut_r, sb -= cut_b;
  if (sr <= sl || sb <= st) return std::nullopt;
  x += flip_h ? cut_r : cut_l;
  y += flip_v ? cut_b : cut_t;

  const std::int64_t w = sr - sl, h = sb - st;
  const std::int64_t dl = std::max<std::int64_t>(x, limit.left), dt = std::max<std::int64_t>(y, limit.top);
  const std::int64_t dr = std::min<std::int64_t>(x + w, limit.right), db = std::min<std::int64_t>(y + h, limit.bottom);
  if (dr <= dl || db <= dt) return std::nullopt;
  const std::int64_t left_cut = dl - x, right_cut = x + w - dr, top_cut = dt - y, bottom_cut = y + h - db;
  if (flip_h) {
    sr -= left_cut;
    sl += right_cut;
  } else {
    sl += left_cut;
    sr -= right_cut;
  }
  if (flip_v) {
    sb -= top_cut;
    st += bottom_cut;
  } else {
    st += top_cut;
    sb -= bottom_cut;
  }
  Placement p;
  p.dst = {static_cast<std::int32_t>(dl), static_cast<std::int32_t>(dt), static_cast<std::int32_t>(dr),
           static_cast<std::int32_t>(db)};
  p.src_x = static_cast<std::int32_t>(flip_h ? sr - 1 : sl);
  p.src_y = static_cast<std::int32_t>(flip_v ? sb - 1 : st);
  p.step_x = flip_h ? -1 : 1;
  p.step_y = flip_v ? -1 : 1;
  return p;
}

std::optional<RowOp> CombinedOp(int combined, Keyed key, std::int32_t transparent_color) {
  RowOp op;
  op.keyed = key == Keyed::Yes && transparent_color != -1;
  op.key = static_cast<std::uint32_t>(transparent_color);
  if (combined <= 0) return std::nullopt;
  if (combined < 255) {
    op.kind = RowOpKind::Blend;
    op.amount = combined;
  } else if (combined == 255) {
    op.kind = op.keyed ? RowOpKind::CopyKeyed : RowOpKind::Copy;
  } else {
    op.kind = RowOpKind::Add;
    op.amount = std::min(combined, 511) & 255;
    if (op.amount == 0) return std::nullopt;
  }
  return op;
}

std::optional<RowOp> CombinedMaskOp(int combined) {
  RowOp op;
  if (combined <= 0) return std::nullopt;
  if (combined < 255) {
    op.kind = RowOpKind::MaskAlpha;
    op.amount = combined;
  } else if (combined == 255) {
    op.kind = RowOpKind::Mask;
  } else {
    op.kind = RowOpKind::MaskAdd;
    op.amount = std::min(combined, 511) & 255;
    if (op.amount == 0) return std::nullopt;
  }
  return op;
}

namespace {

void ApplyRow32(std::uint32_t* d, const std::uint32_t* s, const std::uint8_t* m, int n, const RowOp& op) {
  const RowKernels& k = ActiveKernels();
  switch (op.kind) {
    case RowOpKind::Copy: std::memmove(d, s, static_cast<std::size_t>(n) * 4); break;
    case RowOpKind::CopyKeyed: k.copy_keyed(d, s, n, op.key); break;
    case RowOpKind::Blend: k.blend(d, s, n, op.amount, op.keyed, op.key); break;
    case RowOpKind::Add: k.add(d, s, n, op.amount, op.keyed, op.key); break;
    case RowOpKind::Mask: k.mask(d, s, m, n); break;
    case RowOpKind::MaskAlpha: k.mask_alpha(d, s, m, n, op.amount); break;
    case RowOpKind::MaskAdd: k.mask_add(d, s, m, n, op.amount); break;
    case RowOpKind::ColorMask: k.color_mask(d, m, n, op.colour, op.amount); break;
    case RowOpKind::Fill: k.fill(d, static_cast<std::size_t>(n), op.colour); break;
    case RowOpKind::FillAlpha: k.fill_alpha(d, n, op.colour, op.amount); break;
    case RowOpKind::FillAdd: k.fill_add(d, n, op.colour); break;
    case RowOpKind::FillSub: k.fill_sub(d, n, op.colour); break;
  }
}

// One pixel of the per-channel path; returns the new value (equal to d when untouched).
}  // namespace

std::uint32_t CombinePixel(const PixelFormat& f, std::uint32_t d, std::uint32_t s, std::uint32_t m, const RowOp& op) {
  const auto amount = static_cast<std::uint32_t>(op.amount);
  switch (op.kind) {
    case RowOpKind::Copy: return s;
    case RowOpKind::CopyKeyed: return s == op.key ? d : s;
    case RowOpKind::Blend: return (s == d || (op.keyed && s == op.key)) ? d : BlendNative(f, s, d, amount);
    case RowOpKind::Add:
      if (op.keyed && s == op.key) return d;
      if (f.bit_count <= 8 && op.plain_add_on_bytes) return std::min<std::uint32_t>(255, d + s);
      return AddScaledNative(f, d, s, amount);
    case RowOpKind::Mask:
      if (m == 0 || s == d) return d;
      return m == 255 ? s : BlendNative(f, s, d, m);
    case RowOpKind::MaskAlpha: return (m == 0 || s == d) ? d : BlendNative(f, s, d, (amount * m) >> 8);
    case RowOpKind::MaskAdd: return m == 0 ? d : AddScaledNative(f, d, s, (amount * m) >> 8);
    case RowOpKind::ColorMask: {
      if (m == 0 || d == op.colour) return d;
      const std::uint32_t w = amount == 255 ? m : m == 255 ? amount : (amount * m) >> 8;
      return BlendNative(f, op.colour, d, w);
    }
    case RowOpKind::Fill: return op.colour;
    case RowOpKind::FillAlpha: return d == op.colour ? d : BlendNative(f, op.colour, d, amount);
    case RowOpKind::FillAdd: return AddNative(f, d, op.colour);
    case RowOpKind::FillSub: return SubNative(f, d, op.colour);
  }
  return d;
}

void ApplyRow(const PixelFormat& format, std::uint8_t* d, const std::uint32_t* s, const std::uint8_t* m, int n,
              const RowOp& op, std::vector<std::uint32_t>& scratch) {
  if (n <= 0) return;
  if (format.bytes_per_pixel == 4) {
    // Rows of 32-bit surfaces are 4-byte aligned: stores start at 4-byte aligned addresses.
    ApplyRow32(reinterpret_cast<std::uint32_t*>(d), s, m, n, op);
    return;
  }
  (void)scratch;
  const int bpp = format.bytes_per_pixel;
  std::uint32_t colour_mask = format.bit_count == 8 ? 0xFFu : format.bit_count == 24 ? 0xFFFFFFu : 0xFFFFu;
  RowOp local = op;
  local.colour &= colour_mask;
  for (int i = 0; i < n; ++i) {
    std::uint8_t* p = d + static_cast<std::ptrdiff_t>(i) * bpp;
    const std::uint32_t dv = format.Load(p);
    const std::uint32_t sv = s != nullptr ? s[i] & colour_mask : 0;
    const std::uint32_t nv = CombinePixel(format, dv, sv, m != nullptr ? m[i] : 0, local);
    if (nv != dv) format.Store(p, nv);
  }
}

const std::uint32_t* FetchRow(const SurfaceView& view, std::int32_t x, std::int32_t y, std::int32_t step, int n,
                              std::vector<std::uint32_t>& scratch) {
  const PixelFormat& f = view.Format();
  if (f.bytes_per_pixel == 4 && step == 1) return reinterpret_cast<const std::uint32_t*>(view.At(x, y));
  if (scratch.size() < static_cast<std::size_t>(n)) scratch.resize(static_cast<std::size_t>(n));
  const std::uint8_t* p = view.At(x, y);
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(step) * f.bytes_per_pixel;
  for (int i = 0; i < n; ++i, p += stride) scratch[static_cast<std::size_t>(i)] = f.Load(p);
  return scratch.data();
}

const std::uint8_t* FetchMaskRow(const SurfaceView& view, std::int32_t x, std::int32_t y, std::int32_t step, int n,
                                 std::vector<std::uint8_t>& scratch) {
  const std::uint8_t* p = view.At(x, y);
  if (step == 1) return p;
  if (scratch.size() < static_cast<std::size_t>(n)) scratch.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) scratch[static_cast<std::size_t>(i)] = *(p - i);
  return scratch.data();
}

DrawViews::DrawViews(TCustomDIBX& destination, TCustomDIBX* source, TCustomDIBX* mask) : dst(destination) {
  if (source != nullptr) src.emplace(*source);
  if (mask != nullptr) this->mask.emplace(*mask);
}

void BlitPlaced(TCustomDIBX& dst, const Placement& p, TCustomDIBX* source, TCustomDIBX* mask, const RowOp& op) {
  DrawViews views(dst, source, mask);
  if (!views.Ok()) return;
  SurfaceView& d = views.dst;
  std::optional<SurfaceView>& s = views.src;
  std::optional<SurfaceView>& m = views.mask;
  const int n = p.dst.Width();
  std::vector<std::uint32_t> src_scratch, scratch;
  std::vector<std::uint8_t> mask_scratch;
  // A source that is the destination itself is read into scratch first, so overlapping rows
  // never see pixels this draw already wrote.
  const bool same = source == &dst;
  const std::int32_t height = p.dst.Height();
  // Moving a picture down within one surface walks the rows bottom first.
  const bool bottom_first = same && p.step_y == 1 && p.dst.top > p.src_y;
  for (std::int32_t i = 0; i < height; ++i) {
    const std::int32_t row = bottom_first ? height - 1 - i : i;
    const std::int32_t sy = p.src_y + row * p.step_y;
    const std::uint32_t* sv = nullptr;
    if (s) {
      sv = FetchRow(*s, p.src_x, sy, p.step_x, n, src_scratch);
      if (same && sv != src_scratch.data()) {
        src_scratch.assign(sv, sv + n);
        sv = src_scratch.data();
      }
    }
    const std::uint8_t* mv = m ? FetchMaskRow(*m, p.src_x, sy, p.step_x, n, mask_scratch) : nullptr;
    ApplyRow(d.Format(), d.At(p.dst.left, p.dst.top + row), sv, mv, n, op, scratch);
  }
}

}  // namespace kest
