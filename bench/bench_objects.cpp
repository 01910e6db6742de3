// The object model's costs: creating many unnamed objects, painting a typical frame (a
// background, three sprite-sized boxes, a message-box-sized box, ten button-sized boxes, one
// hover change per frame), and a scene of pictures (Objects/PictureScene: a background, 20
// animated keyed sprites, 10 masked sprites at alpha 128, 5 turned and zoomed pictures, 3
// scrolling tiles and 10 buttons) repainted whole, against pixman composing the same operations
// on the same rectangles and against copying the whole 800x600 surface with memcpy;
// Objects/PictureSceneFrame is one incremental animated frame with a hover.

#include <benchmark/benchmark.h>

#include <pixman.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "objects/components.h"
#include "objects/properties.h"
#include "objects/property_table.h"
#include "objects/scene_list.h"

namespace kest {
namespace {

void BM_UnnamedCreations(benchmark::State& state) {
  for (auto _ : state) {
    TKestBaseList list(64, 48);
    for (int i = 0; i < 5000; ++i) benchmark::DoNotOptimize(list.CreateByKind(LT_BOX));
  }
  state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_UnnamedCreations)->Unit(benchmark::kMillisecond);

TKestBox& AddBox(TKestBaseList& list, Rect r, std::int32_t colour, std::int32_t alpha) {
  auto& box = static_cast<TKestBox&>(*list.CreateByKind(LT_BOX));
  box.SetBounds(r.left, r.top, r.Width(), r.Height());
  box.SetColor(colour);
  SetProp(box, PR_ALPHA, alpha);
  box.SetParent(&list.ActiveScreen());
  return box;
}

void BM_TypicalFramePaint(benchmark::State& state) {
  TKestBaseList list(800, 600);
  AddBox(list, {0, 0, 800, 600}, 0x604020, 255);
  for (int i = 0; i < 3; ++i) AddBox(list, {50 + i * 250, 80, 250 + i * 250, 480}, 0x2040C0 + i, 200);
  AddBox(list, {40, 420, 760, 580}, 0x101010, 180);
  std::vector<TKestBox*> buttons;
  for (int i = 0; i < 10; ++i) buttons.push_back(&AddBox(list, {600, 20 + i * 38, 780, 52 + i * 38}, 0x808080, 255));
  list.Draw();
  std::size_t hover = 0;
  for (auto _ : state) {
    // The hover moves from one button to the next: two buttons change colour.
    buttons[hover]->SetColor(0x808080);
    hover = (hover + 1) % buttons.size();
    buttons[hover]->SetColor(0xC0C0C0);
    list.Draw();
  }
}
BENCHMARK(BM_TypicalFramePaint)->Unit(benchmark::kMicrosecond);

void BM_WholeSurfaceMemcpy(benchmark::State& state) {
  std::vector<std::uint8_t> from(800 * 600 * 4, 1), to(800 * 600 * 4);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WholeSurfaceMemcpy)->Unit(benchmark::kMicrosecond);

// ---- the picture scene

constexpr std::int32_t kW = 800, kH = 600;

// Where each picture of the scene goes; both sides draw from these.
struct PictureLayout {
  Rect sprite(int i) const { return {20 + (i % 10) * 75, 40 + (i / 10) * 90, 20 + (i % 10) * 75 + 64, 40 + (i / 10) * 90 + 64}; }
  Rect masked(int i) const { return {40 + i * 72, 250, 40 + i * 72 + 64, 314}; }
  Rect tile(int i) const { return {0, 340 + i * 60, kW, 340 + i * 60 + 50}; }
  Rect button(int i) const { return {640, 20 + i * 40, 780, 52 + i * 40}; }
  // Turned pictures: 100 x 100 at 1.5 x, about their centres.
  std::int32_t turned_x(int i) const { return 100 + i * 140; }
  std::int32_t turned_y() const { return 520; }
  std::int32_t turned_angle(int i) const { return 20 + i * 30; }
};

std::uint32_t Noise(std::mt19937& r) { return r() & 0xFFFFFF; }

struct KestPictureScene {
  TKestBaseList list{kW, kH};
  std::vector<std::unique_ptr<TDIBX>> surfaces;
  std::vector<TKestImages*> sprites;
  std::vector<TKestTile*> tiles;
  std::vector<TKestButton*> buttons;
  TDIBX hover_surface{140, 32, 32};
  PictureLayout at;

  TDIBX& Surface(std::int32_t w, std::int32_t h, std::mt19937& r, std::int32_t key = -1) {
    surfaces.push_back(std::make_unique<TDIBX>(w, h, 32));
    TDIBX& s = *surfaces.back();
    for (std::int32_t y = 0; y < h; ++y)
      for (std::int32_t x = 0; x < w; ++x) s.SetPixel(x, y, key >= 0 && (x * y) % 5 == 0 ? key : Noise(r));
    s.transparent_color = key;
    return s;
  }
  TDIBX& Mask(std::int32_t w, std::int32_t h) {
    surfaces.push_back(std::make_unique<TDIBX>(w, h, 8));
    TDIBX& m = *surfaces.back();
    for (std::int32_t y = 0; y < h; ++y)
      for (std::int32_t x = 0; x < w; ++x) m.SetPixel(x, y, static_cast<std::uint32_t>((x * 4 + y * 3) & 0xFF));
    return m;
  }
  template <typename T>
  T& Picture(std::uint8_t kind, TCustomDIBX& surface, TCustomDIBX* mask, std::int32_t left, std::int32_t top) {
    auto& image = static_cast<T&>(*list.CreateByKind(kind));
    image.SetParent(&list.ActiveScreen());
    image.SetBorrowed(&surface, mask);
    image.SetLeft(left);
    image.SetTop(top);
    return image;
  }

  KestPictureScene() {
    std::mt19937 r(7);
    Picture<TKestImages>(LT_IMAGES, Surface(kW, kH, r), nullptr, 0, 0);
    TDIBX& frame_a = Surface(64, 64, r, 0x00FF00);
    TDIBX& frame_b = Surface(64, 64, r, 0x00FF00);
    for (int i = 0; i < 20; ++i)
      sprites.push_back(&Picture<TKestImages>(LT_IMAGES, i % 2 ? frame_a : frame_b, nullptr, at.sprite(i).left, at.sprite(i).top));
    TDIBX& soft = Surface(64, 64, r);
    TDIBX& mask = Mask(64, 64);
    for (int i = 0; i < 10; ++i)
      SetProp(Picture<TKestImages>(LT_IMAGES, soft, &mask, at.masked(i).left, at.masked(i).top), PR_ALPHA, std::int32_t{128});
    TDIBX& turned = Surface(100, 100, r);
    for (int i = 0; i < 5; ++i) {
      auto& image = Picture<TKestImages>(LT_IMAGES, turned, nullptr, at.turned_x(i), at.turned_y());
      image.SetOffsetX(50);
      image.SetOffsetY(50);
      SetProp(image, PR_ZOOMX, std::int32_t{384});
      SetProp(image, PR_ZOOMY, std::int32_t{384});
      SetProp(image, PR_ANGLE, at.turned_angle(i));
      image.SizeIfDirty();
    }
    TDIBX& sky = Surface(32, 32, r);
    for (int i = 0; i < 3; ++i) {
      auto& tile = Picture<TKestTile>(LT_TILE, sky, nullptr, at.tile(i).left, at.tile(i).top);
      tile.SetWidth(at.tile(i).Width());
      tile.SetHeight(at.tile(i).Height());
      tiles.push_back(&tile);
    }
    TDIBX& normal = Surface(140, 32, r);
    for (int i = 0; i < 10; ++i)
      buttons.push_back(&Picture<TKestButton>(LT_BUTTON, normal, nullptr, at.button(i).left, at.button(i).top));
    list.Draw();
  }
};

void BM_PictureScene_kest(benchmark::State& state) {
  KestPictureScene scene;
  for (auto _ : state) {
    scene.list.ActiveScreen().AddWholeRect();
    scene.list.Paint();
    scene.list.ActiveScreen().ClearDirty();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PictureScene_kest)->Name("Objects/PictureScene/kest")->Unit(benchmark::kMicrosecond);

void BM_PictureSceneFrame_kest(benchmark::State& state) {
  KestPictureScene scene;
  std::size_t hover = 0;
  std::int32_t tick = 0;
  TCustomDIBX* normal = scene.buttons[0]->GetSurface();
  for (auto _ : state) {
    // The sprites change frame, the tiles scroll, and the hover moves to the next button.
    ++tick;
    for (std::size_t i = 0; i < scene.sprites.size(); ++i)
      scene.sprites[i]->SetBorrowed(scene.sprites[(i + 1) % scene.sprites.size()]->GetSurface(), nullptr);
    for (TKestTile* tile : scene.tiles) SetProp(*tile, PR_SCROLLX, tick % 32);
    scene.buttons[hover]->SetBorrowed(normal, nullptr);
    hover = (hover + 1) % scene.buttons.size();
    scene.buttons[hover]->SetBorrowed(&scene.hover_surface, nullptr);
    scene.list.Draw();
  }
}
BENCHMARK(BM_PictureSceneFrame_kest)->Name("Objects/PictureSceneFrame/kest")->Unit(benchmark::kMicrosecond);

// pixman composing the same scene: sources with alpha 0 where the sprites are keyed, the masks
// scaled to alpha 128, nearest-neighbour transforms for the turned pictures, repeating sources
// for the tiles.
struct PixmanPictureScene {
  std::vector<std::vector<std::uint32_t>> bits;
  std::vector<pixman_image_t*> images;
  pixman_image_t* dst = nullptr;
  pixman_image_t *background = nullptr, *sprite_a = nullptr, *sprite_b = nullptr, *soft = nullptr, *mask = nullptr,
                 *turned = nullptr, *sky = nullptr, *button = nullptr;
  PictureLayout at;

  pixman_image_t* Image(pixman_format_code_t format, std::int32_t w, std::int32_t h, std::mt19937& r, bool keyed,
                        bool is_mask = false) {
    const std::int32_t stride = is_mask ? (w + 3) / 4 : w;
    bits.emplace_back(static_cast<std::size_t>(stride) * h);
    auto& b = bits.back();
    for (std::int32_t y = 0; y < h; ++y)
      for (std::int32_t x = 0; x < w; ++x) {
        if (is_mask) {
          reinterpret_cast<std::uint8_t*>(b.data())[y * stride * 4 + x] = static_cast<std::uint8_t>(((x * 4 + y * 3) & 0xFF) / 2);
        } else {
          b[static_cast<std::size_t>(y * w + x)] = keyed && (x * y) % 5 == 0 ? 0u : (Noise(r) | 0xFF000000u);
        }
      }
    pixman_image_t* image = pixman_image_create_bits(format, w, h, b.data(), stride * 4);
    images.push_back(image);
    return image;
  }

  PixmanPictureScene() {
    std::mt19937 r(7);
    dst = Image(PIXMAN_x8r8g8b8, kW, kH, r, false);
    background = Image(PIXMAN_x8r8g8b8, kW, kH, r, false);
    sprite_a = Image(PIXMAN_a8r8g8b8, 64, 64, r, true);
    sprite_b = Image(PIXMAN_a8r8g8b8, 64, 64, r, true);
    soft = Image(PIXMAN_x8r8g8b8, 64, 64, r, false);
    mask = Image(PIXMAN_a8, 64, 64, r, false, true);
    turned = Image(PIXMAN_x8r8g8b8, 100, 100, r, false);
    sky = Image(PIXMAN_x8r8g8b8, 32, 32, r, false);
    pixman_image_set_repeat(sky, PIXMAN_REPEAT_NORMAL);
    button = Image(PIXMAN_x8r8g8b8, 140, 32, r, false);
    pixman_image_set_filter(turned, PIXMAN_FILTER_NEAREST, nullptr, 0);
  }
  ~PixmanPictureScene() {
    for (pixman_image_t* image : images) pixman_image_unref(image);
  }

  void Compose(std::int32_t scroll) {
    const auto put = [&](pixman_op_t op, pixman_image_t* src, pixman_image_t* m, const Rect& r, std::int32_t sx = 0) {
      pixman_image_composite32(op, src, m, dst, sx, 0, 0, 0, r.left, r.top, r.Width(), r.Height());
    };
    put(PIXMAN_OP_SRC, background, nullptr, {0, 0, kW, kH});
    for (int i = 0; i < 20; ++i) put(PIXMAN_OP_OVER, i % 2 ? sprite_a : sprite_b, nullptr, at.sprite(i));
    for (int i = 0; i < 10; ++i) put(PIXMAN_OP_OVER, soft, mask, at.masked(i));
    for (int i = 0; i < 5; ++i) {
      // Destination to source: translate to the centre, turn back, unzoom, translate to the pivot.
      const double theta = at.turned_angle(i) * 2 * 3.14159265358979 / 256;
      pixman_transform_t t;
      pixman_transform_init_identity(&t);
      pixman_transform_translate(&t, nullptr, pixman_double_to_fixed(-at.turned_x(i)), pixman_double_to_fixed(-at.turned_y()));
      pixman_transform_rotate(&t, nullptr, pixman_double_to_fixed(std::cos(-theta)), pixman_double_to_fixed(std::sin(-theta)));
      pixman_transform_scale(&t, nullptr, pixman_double_to_fixed(1 / 1.5), pixman_double_to_fixed(1 / 1.5));
      pixman_transform_translate(&t, nullptr, pixman_double_to_fixed(50), pixman_double_to_fixed(50));
      pixman_image_set_transform(turned, &t);
      const std::int32_t half = 107;  // the box of a 150 x 150 square turned
      pixman_image_composite32(PIXMAN_OP_OVER, turned, nullptr, dst, at.turned_x(i) - half, at.turned_y() - half, 0, 0,
                               at.turned_x(i) - half, at.turned_y() - half, 2 * half, 2 * half);
    }
    for (int i = 0; i < 3; ++i) put(PIXMAN_OP_SRC, sky, nullptr, at.tile(i), scroll);
    for (int i = 0; i < 10; ++i) put(PIXMAN_OP_SRC, button, nullptr, at.button(i));
  }
};

void BM_PictureScene_pixman(benchmark::State& state) {
  PixmanPictureScene scene;
  for (auto _ : state) {
    scene.Compose(0);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PictureScene_pixman)->Name("Objects/PictureScene/pixman")->Unit(benchmark::kMicrosecond);

void BM_PictureScene_memcpy(benchmark::State& state) {
  std::vector<std::uint8_t> from(std::size_t{kW} * kH * 4, 1), to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PictureScene_memcpy)->Name("Objects/PictureScene/memcpy")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kest
