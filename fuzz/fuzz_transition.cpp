// Runs every transition kind through Prepare and Step with parameters, sizes and positions taken
// from the input: parameters of any value (sizes beyond the picture, zero, negative), pictures of
// other sizes than the destination, durations of 0 or less, positions outside 0..Duration. No
// input may crash, overflow, loop without end or allocate beyond the pictures' size.

#include <cstring>

#include "fuzz_target.h"
#include "render/dibx.h"
#include "render/wipes/wipe.h"

namespace {

struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  std::uint8_t U8() { return at < size ? data[at++] : 0; }
  std::int32_t I32() {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v |= static_cast<std::uint32_t>(U8()) << (8 * k);
    return static_cast<std::int32_t>(v);
  }
};

// kind, flags (bit 0 reverse, bit 1 set p0, bit 2 set p1, bit 3 mask name, bit 4 odd picture
// sizes), p0, p1, width, height, duration, then positions to step.
kest::Bytes Seed(std::uint8_t kind, std::uint8_t flags, std::int32_t p0, std::int32_t p1, std::uint8_t w,
                 std::uint8_t h, std::int32_t duration, std::initializer_list<std::int32_t> positions) {
  kest::Bytes out{kind, flags};
  const auto i32 = [&](std::int32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k)));
  };
  i32(p0);
  i32(p1);
  out.push_back(w);
  out.push_back(h);
  i32(duration);
  for (const std::int32_t p : positions) i32(p);
  return out;
}

}  // namespace

std::vector<kest::Bytes> KestFuzzSeeds() {
  std::vector<kest::Bytes> seeds;
  for (std::uint8_t kind = 0; kind <= 40; ++kind) {
    seeds.push_back(Seed(kind, 0, 0, 0, 33, 17, 100, {0, 25, 50, 75, 99, 100}));
    seeds.push_back(Seed(kind, 0x1F, 1, 0, 7, 5, 10, {-5, 3, 9, 12}));
    seeds.push_back(Seed(kind, 0x07, 0x7FFFFFFF, -0x7FFFFFFF - 1, 64, 3, 0x7FFFFFFF, {0x7FFFFFFE, 1 << 30}));
    seeds.push_back(Seed(kind, 0x0E, -1, 100000, 1, 1, -3, {0, 1}));
  }
  return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in{data, size};
  const std::int32_t kind = static_cast<std::int8_t>(in.U8());
  const std::uint8_t flags = in.U8();
  const std::int32_t p0 = in.I32(), p1 = in.I32();
  const std::int32_t w = in.U8() % 129, h = in.U8() % 97;
  const std::int32_t duration = in.I32();
  kest::TDIBX destination(w, h, 32), from(w, h, 32), to(w, h, (flags & 0x10) ? 24 : 32);
  if (flags & 0x10) {
    from.SetSize(w / 2 + 1, h + 3, 32);
    to.SetSize(w + 5, h / 3, 24);
  }
  for (kest::TDIBX* s : {&from, &to})
    for (std::int32_t y = 0; y < s->Height(); ++y)
      for (std::int32_t x = 0; x < s->Width(); ++x) s->SetPixel(x, y, static_cast<std::uint32_t>(x * 2654435761u ^ y * 40503u));
  kest::SetMaskPictureLoader([](const std::string& name, kest::TCustomDIBX& picture) {
    if (name != "mask") return false;
    picture.SetSize(5, 3, 32);
    for (std::int32_t x = 0; x < 5; ++x) picture.SetPixel(x, 1, static_cast<std::uint32_t>(x) * 0x333333u);
    return true;
  });
  auto wipe = kest::CreateWipe(kind, destination, from, to);
  if (wipe) {
    wipe->SetReverse((flags & 1) != 0);
    if (flags & 2) wipe->SetParam(0, p0);
    if (flags & 4) wipe->SetParam(1, p1);
    if (flags & 8) wipe->SetMaskName(in.U8() & 1 ? "mask" : "missing");
    wipe->SetDuration(duration);
    wipe->Prepare();
    for (int step = 0; step < 8 && in.at < in.size; ++step) {
      wipe->SetPosition(in.I32());
      wipe->Step();
    }
  }
  kest::SetMaskPictureLoader({});
  return 0;
}
