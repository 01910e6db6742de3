// Golden checksums of every transition kind, forwards and reversed, at five positions, on fixed
// 160 x 120 pictures. These pin regressions only: a change of any pixel of any kind shows here.
// What the pixels mean is pinned by the formula table in wipe_test.cpp. The same values must come
// out at every instruction-set level.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "render/dibx.h"
#include "render/row_engine.h"
#include "render/wipes/wipe.h"
#include "surface_fixtures.h"
#include "vfs/deflate.h"

namespace kest {
namespace {

constexpr std::int32_t kW = 160, kH = 120, kDuration = 1000;
constexpr std::int32_t kPositions[5] = {0, kDuration / 4, kDuration / 2, 3 * kDuration / 4, kDuration - 1};

void Paint(TDIBX& surface, int variant) {
  for (std::int32_t y = 0; y < kH; ++y)
    for (std::int32_t x = 0; x < kW; ++x) {
      const std::uint32_t r = variant ? static_cast<std::uint32_t>(255 - x) : static_cast<std::uint32_t>((x * 7 + y * 3) & 255);
      const std::uint32_t g = variant ? static_cast<std::uint32_t>((x ^ y) & 255) : static_cast<std::uint32_t>(y * 2);
      const std::uint32_t b = variant ? static_cast<std::uint32_t>(y * 2) : static_cast<std::uint32_t>(x + 40);
      surface.SetPixel(x, y, (r << 16) | (g << 8) | b);
    }
}

std::uint32_t Checksum(TDIBX& surface) {
  SurfaceView view(surface);
  std::vector<std::uint8_t> bytes;
  for (std::int32_t y = 0; y < kH; ++y) {
    const std::uint8_t* row = view.At(0, y);
    bytes.insert(bytes.end(), row, row + kW * 4);
  }
  return Crc32(bytes);
}

// Every kind x reverse x position, in that order.
std::vector<std::uint32_t> ComputeAll() {
  SetMaskPictureLoader([](const std::string& name, TCustomDIBX& picture) {
    if (name != "mask") return false;
    picture.SetSize(37, 23, 32);  // tiles unevenly over the screen
    for (std::int32_t y = 0; y < 23; ++y)
      for (std::int32_t x = 0; x < 37; ++x) picture.SetPixel(x, y, static_cast<std::uint32_t>((x * 7 + y * 11) % 256) * 0x010101u);
    return true;
  });
  SetWipeRandomSeed(0);
  TDIBX from(kW, kH, 32), to(kW, kH, 32);
  Paint(from, 0);
  Paint(to, 1);
  std::vector<std::uint32_t> out;
  for (std::int32_t kind = 1; kind <= kWipeKindLast; ++kind) {
    for (const bool reverse : {false, true}) {
      for (const std::int32_t position : kPositions) {
        TDIBX destination(kW, kH, 32);
        destination.Fill(0x00123456);
        auto wipe = CreateWipe(kind, destination, from, to);
        wipe->SetReverse(reverse);
        wipe->SetMaskName("mask");
        wipe->SetDuration(kDuration);
        wipe->Prepare();
        wipe->SetPosition(position);
        wipe->Step();
        out.push_back(Checksum(destination));
      }
    }
  }
  SetMaskPictureLoader({});
  return out;
}

std::string AsTable(const std::vector<std::uint32_t>& values) {
  std::string text;
  char buffer[16];
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, "0x%08X,", values[i]);
    text += buffer;
    text += (i % 5 == 4) ? "\n" : " ";
  }
  return text;
}

// One line per kind and direction: positions 0, D/4, D/2, 3D/4, D - 1.
const std::vector<std::uint32_t> kGolden = {
    0x0E83A434, 0x2B3AE986, 0xF8483B15, 0xDD301B0B, 0x2E250BCB,  // WP_FADE forwards
    0x0E83A434, 0x2B3AE986, 0xF8483B15, 0xDD301B0B, 0x2E250BCB,  // WP_FADE reversed
    0x0E83A434, 0x0ED6DA43, 0x82B36F23, 0xBD59AB1C, 0x983BCC5F,  // WP_BLINDH forwards
    0x0E83A434, 0xEE98B6DF, 0xD17272E0, 0x5D17C780, 0x8D775660,  // WP_BLINDH reversed
    0x0E83A434, 0xCEC62FE4, 0x1F9677F3, 0x8B2FF040, 0xB032F1DB,  // WP_BLINDV forwards
    0x0E83A434, 0xD8EEED83, 0x4C576A30, 0x9D073227, 0x707CC7D2,  // WP_BLINDV reversed
    0x0E83A434, 0x4952699D, 0xD104DBD3, 0xA70159A7, 0x5D42B9F7,  // WP_CURTAINH forwards
    0x0E83A434, 0xBA353CDE, 0x19149DF4, 0x47E05442, 0x5D42B9F7,  // WP_CURTAINH reversed
    0x0E83A434, 0x84F6C3E6, 0xA918A478, 0xAAC89DC7, 0x70A80549,  // WP_CURTAINV forwards
    0x0E83A434, 0x26F5EFE7, 0xE3963F4B, 0x18DA9213, 0xBB0B35A9,  // WP_CURTAINV reversed
    0x0E83A434, 0xEBC5A503, 0x732D8BDA, 0x2185B71B, 0x36FF1A6C,  // WP_SCROLLH forwards
    0x0E83A434, 0x2A86593B, 0x75CC57DA, 0x9B0CB536, 0xE166B4A9,  // WP_SCROLLH reversed
    0x0E83A434, 0x01807175, 0x93566AAE, 0xE254F566, 0x026F1B12,  // WP_SCROLLV forwards
    0x0E83A434, 0x9C1652FD, 0x31E8CAC0, 0x348A20B9, 0x330668D5,  // WP_SCROLLV reversed
    0x0E83A434, 0xAA5A2DD2, 0x8AE3E723, 0xC38228BE, 0xC98147D3,  // WP_GRID forwards
    0x0E83A434, 0x6F07A7EE, 0xEC3575D9, 0x03E997C8, 0xE2BB865F,  // WP_GRID reversed
    0x0E83A434, 0xE3BE9085, 0xDD94DF5E, 0x21B97DD6, 0x50B627F1,  // WP_GRIDH forwards
    0x0E83A434, 0xBE496517, 0xC4E5DA05, 0xD7F57EC1, 0xE4D30656,  // WP_GRIDH reversed
    0x0E83A434, 0xB95BBE45, 0x5DCCC3E8, 0xDCD47C5E, 0xEC5BF9B2,  // WP_GRIDV forwards
    0x0E83A434, 0xE4AC4BD7, 0x44BDC6B3, 0x2A987F49, 0x583ED815,  // WP_GRIDV reversed
    0x0E83A434, 0x395CCE0D, 0x0062D1B0, 0x7A84AFA3, 0xF86D16D2,  // WP_DITHER forwards
    0x0E83A434, 0x395CCE0D, 0x0062D1B0, 0x7A84AFA3, 0xF86D16D2,  // WP_DITHER reversed
    0x0E83A434, 0xD4A98B6B, 0x39A1BDB6, 0x1E57FB81, 0x12B0B76B,  // WP_WHITE forwards
    0x0E83A434, 0xD4A98B6B, 0x39A1BDB6, 0x1E57FB81, 0x12B0B76B,  // WP_WHITE reversed
    0x0E83A434, 0x54AB3ED0, 0x35B9EF0C, 0xC5153713, 0x2E250BCB,  // WP_BLACK forwards
    0x0E83A434, 0x54AB3ED0, 0x35B9EF0C, 0xC5153713, 0x2E250BCB,  // WP_BLACK reversed
    0x39A1BDB6, 0xD896F67B, 0x1E57FB81, 0x3FB66D11, 0x12B0B76B,  // WP_FLASH forwards
    0x39A1BDB6, 0xD896F67B, 0x1E57FB81, 0x3FB66D11, 0x12B0B76B,  // WP_FLASH reversed
    0x9695EEE1, 0x1A2F8B81, 0x59AF1577, 0x085C870D, 0x7CEA11AE,  // WP_MOSAIC forwards
    0x9695EEE1, 0x1A2F8B81, 0x59AF1577, 0x085C870D, 0x7CEA11AE,  // WP_MOSAIC reversed
    0x0E83A434, 0x984477A4, 0x99085767, 0x88FE8636, 0xC9ADD81E,  // WP_SUDAREH forwards
    0x0E83A434, 0x5BD0C0F4, 0x8F83A3C0, 0x95CD754C, 0x338F84EC,  // WP_SUDAREH reversed
    0x0E83A434, 0x59128FD8, 0x76A2862E, 0x64839F3C, 0xB5BB96D7,  // WP_SUDAREV forwards
    0x0E83A434, 0x23C5DE05, 0x852594E5, 0x6D837C3F, 0x7F6857A6,  // WP_SUDAREV reversed
    0x0E83A434, 0x44E885AF, 0xB7A16056, 0x5104FFED, 0x5D42B9F7,  // WP_SPOT forwards
    0x0E83A434, 0x889A6CA3, 0x3188DFB2, 0xF8127291, 0x5D42B9F7,  // WP_SPOT reversed
    0x0E83A434, 0x56A9BCD0, 0x0CECF970, 0xBE690F83, 0x5D42B9F7,  // WP_MASKFADE forwards
    0x0E83A434, 0x3774F9F3, 0x7D362001, 0xB7053813, 0x5D42B9F7,  // WP_MASKFADE reversed
    0x0E83A434, 0xFBE4C8C1, 0x0C2EB7FE, 0x4346B145, 0x5D42B9F7,  // WP_MASKWHITE forwards
    0x0E83A434, 0xECA92FEA, 0x1E961EFA, 0x89150A7B, 0x5D42B9F7,  // WP_MASKWHITE reversed
    0x0E83A434, 0x80A50E84, 0x507EA4A3, 0xE68A3680, 0x5D42B9F7,  // WP_MASKBLACK forwards
    0x0E83A434, 0x6B204894, 0xE3A193DA, 0x1ACB9433, 0x5D42B9F7,  // WP_MASKBLACK reversed
    0x6ACFC78E, 0x4EC85EB1, 0x92D15177, 0x72188E9E, 0x5D42B9F7,  // WP_SMALL forwards
    0x6ACFC78E, 0x4EC85EB1, 0x92D15177, 0x72188E9E, 0x5D42B9F7,  // WP_SMALL reversed
    0x0E83A434, 0xECD866AE, 0x9B902D4E, 0xB9481EE4, 0x8BE474E5,  // WP_BIG forwards
    0x0E83A434, 0xECD866AE, 0x9B902D4E, 0xB9481EE4, 0x8BE474E5,  // WP_BIG reversed
    0x0E83A434, 0x5668D359, 0xC913FAA4, 0x5D42B9F7, 0x5D42B9F7,  // WP_RIPPLE forwards
    0x0E83A434, 0x5668D359, 0xC913FAA4, 0x5D42B9F7, 0x5D42B9F7,  // WP_RIPPLE reversed
    0x0E83A434, 0x0E432ED8, 0x39A1BDB6, 0x2834B734, 0x1DBBE738,  // WP_BLURWHITE forwards
    0x0E83A434, 0x0E432ED8, 0x39A1BDB6, 0x2834B734, 0x1DBBE738,  // WP_BLURWHITE reversed
    0x0E83A434, 0x7E5CA7B1, 0x35B9EF0C, 0xED4950B5, 0x1DBBE738,  // WP_BLURBLACK forwards
    0x0E83A434, 0x7E5CA7B1, 0x35B9EF0C, 0xED4950B5, 0x1DBBE738,  // WP_BLURBLACK reversed
    0x0E83A434, 0xDB33A376, 0xC4145CC7, 0x4C8AA612, 0x5D42B9F7,  // WP_TWISTH forwards
    0x0E83A434, 0xB2280A62, 0x58E49217, 0x79555DCA, 0x5D42B9F7,  // WP_TWISTH reversed
    0x0E83A434, 0x39D5BCED, 0x1C973913, 0xA65529BE, 0x5D42B9F7,  // WP_TWISTV forwards
    0x0E83A434, 0x892F47B9, 0x0643A634, 0x68C6EEBC, 0x5D42B9F7,  // WP_TWISTV reversed
    0x0E83A434, 0x5D42B9F7, 0x5D42B9F7, 0x5D42B9F7, 0x5D42B9F7,  // WP_CRACK forwards
    0x0E83A434, 0x5D42B9F7, 0x5D42B9F7, 0x5D42B9F7, 0x5D42B9F7,  // WP_CRACK reversed
    0x0E83A434, 0x3E05F309, 0xC942188A, 0x8A10F2C3, 0x5D42B9F7,  // WP_ZOOMIN forwards
    0x0E83A434, 0x3E05F309, 0xC942188A, 0x8A10F2C3, 0x5D42B9F7,  // WP_ZOOMIN reversed
    0x0E83A434, 0xFF01430F, 0x602E272D, 0x09639E53, 0x5D42B9F7,  // WP_CLOCKHAND forwards
    0x0E83A434, 0x5AA28390, 0x33EF3AEE, 0xACC05ECC, 0x5D42B9F7,  // WP_CLOCKHAND reversed
    0x0E83A434, 0x894E10B0, 0x0E83A434, 0xFDDE1387, 0x5D42B9F7,  // WP_RUBBERH forwards
    0x0E83A434, 0xC37B9C42, 0x0E83A434, 0xAB9AD714, 0x5D42B9F7,  // WP_RUBBERH reversed
    0x0E83A434, 0x2595D501, 0x0E83A434, 0x7EC7D954, 0x5D42B9F7,  // WP_RUBBERV forwards
    0x0E83A434, 0xA7ABF4F0, 0x0E83A434, 0x2382DDDA, 0x5D42B9F7,  // WP_RUBBERV reversed
    0x0E83A434, 0xD248E3BA, 0x5D5E4B83, 0xEC1E7550, 0x4C569220,  // WP_FAN forwards
    0x0E83A434, 0xBFDF6893, 0x0E9F5640, 0x8189FE79, 0x14626BFE,  // WP_FAN reversed
    0x0E83A434, 0x1CF03B01, 0x63142F1D, 0xE5D1EA16, 0xF3D403FC,  // WP_WFAN forwards
    0x0E83A434, 0xB610F7D5, 0x30D532DE, 0x4F3126C2, 0x1C7B58F3,  // WP_WFAN reversed
    0x0E83A434, 0x4CFF73F4, 0x37B9CBB1, 0x46251EA2, 0x5D42B9F7,  // WP_CIRCLE forwards
    0x0E83A434, 0x15E40361, 0x6478D672, 0x1F3E6E37, 0x5D42B9F7,  // WP_CIRCLE reversed
    0xDD02D076, 0x8CDBB0ED, 0xAB2064AB, 0xFDB5D453, 0x8E784E11,  // WP_BLOCKCOIL forwards
    0xDDB953D2, 0xAE74C990, 0xF8E17968, 0xDF1AAD2E, 0x8EC3CDB5,  // WP_BLOCKCOIL reversed
    0xDD02D076, 0x8B97608E, 0xF85AFACC, 0x2B600D2A, 0x7AB96DB1,  // WP_BLOCKRANDOM forwards
    0xDD02D076, 0x8B97608E, 0xF85AFACC, 0x2B600D2A, 0x7AB96DB1,  // WP_BLOCKRANDOM reversed
};

TEST(WipeGolden, EveryKindReverseAndPositionKeepsItsChecksumAtEveryLevel) {
  std::vector<std::uint32_t> first;
  for (const SimdLevel level : testing::SupportedLevels()) {
    testing::SimdLevelScope scope(level);
    const std::vector<std::uint32_t> got = ComputeAll();
    if (first.empty()) first = got;
    EXPECT_EQ(got, first) << "level " << SimdLevelName(level) << " differs from the first level";
  }
  ASSERT_EQ(first.size(), static_cast<std::size_t>(kWipeKindLast) * 2 * 5);
  EXPECT_EQ(first, kGolden) << "checksums now:\n" << AsTable(first);
}

}  // namespace
}  // namespace kest
