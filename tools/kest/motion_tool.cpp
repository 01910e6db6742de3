#include "motion_tool.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "images/film_manager.h"
#include "json_text.h"

namespace kest::tool {

namespace {

// One listing, built once and written as JSON or as text: keys with JSON values.
using Fields = std::vector<std::pair<std::string, std::string>>;

std::string N(std::int64_t value) { return std::to_string(value); }
std::string Pair(MotionPoint p) { return "[" + N(p.x) + ", " + N(p.y) + "]"; }
std::string Real(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}
template <typename T, typename F>
std::string Array(const std::vector<T>& list, F item) {
  std::string out = "[";
  for (std::size_t i = 0; i < list.size(); ++i) out += (i ? ", " : "") + item(list[i]);
  return out + "]";
}
std::string Object(const Fields& fields) {
  std::string out = "{";
  for (std::size_t i = 0; i < fields.size(); ++i)
    out += (i ? ", " : "") + JsonString(fields[i].first) + ": " + fields[i].second;
  return out + "}";
}

std::string CropJson(const MotionCrop& crop) {
  return Object({{"origin_start", Pair(crop.origin_start)},
                 {"size_start", Pair(crop.size_start)},
                 {"origin_end", Pair(crop.origin_end)},
                 {"size_end", Pair(crop.size_end)},
                 {"curves", "[" + N(crop.x_curve) + ", " + N(crop.y_curve) + "]"}});
}

// What the format calls the file a kind names.
std::string_view NameKey(TrackKind kind) {
  switch (kind) {
    case TrackKind::Image:
    case TrackKind::Tile: return "image_name";
    case TrackKind::Particle: return "picture_name";
    case TrackKind::Sound: return "sound_name";
    case TrackKind::Transition: return "mask_name";
    default: return {};
  }
}

Fields TrackFields(const TCustomFrameList& track) {
  const MotionTrackRecord& r = track.Record();
  const TrackKindTraits& traits = TraitsOf(r.kind);
  Fields f = {
      {"index", N(track.Index())},
      {"kind", JsonString(TrackKindName(r.kind))},
      {"kind_byte", N(r.kind_byte)},
      {"parent", N(track.Parent() ? track.Parent()->Index() : -1)},
      {"start", N(track.Start())},
      {"length", N(r.length)},
      {"cycle", N(r.cycle)},
      {"value", N(r.value)},
      {"order", N(r.order)},
      {"flag1", N(r.flag1)},
      {"flag2", N(r.flag2)},
      {"plane_swap", N(r.plane_swap)},
  };
  if (traits.image_part) f.emplace_back("pivot", Pair(r.pivot));
  if (traits.position) {
    f.emplace_back("start_position", Pair(r.start_position));
    f.emplace_back("end_position", Pair(r.end_position));
    f.emplace_back("x_curve", N(r.x_curve));
    f.emplace_back("y_curve", N(r.y_curve));
  }
  if (traits.image_part) {
    f.insert(f.end(), {{"start_angle", N(r.start_angle)},
                       {"end_angle", N(r.end_angle)},
                       {"zoom_x_start", Real(r.zoom_x_start)},
                       {"zoom_x_end", Real(r.zoom_x_end)},
                       {"zoom_x_curve", N(r.zoom_x_curve)},
                       {"start_alpha", N(r.start_alpha)},
                       {"end_alpha", N(r.end_alpha)},
                       {"angle_curve", N(r.angle_curve)},
                       {"zoom_y_start", Real(r.zoom_y_start)},
                       {"zoom_y_end", Real(r.zoom_y_end)},
                       {"zoom_y_curve", N(r.zoom_y_curve)}});
  }
  if (traits.extent) {
    f.emplace_back("start_extent", Pair(r.start_extent));
    f.emplace_back("end_extent", Pair(r.end_extent));
  }
  if (traits.crop) f.emplace_back("crop", CropJson(r.crop));
  if (!NameKey(r.kind).empty()) {
    f.emplace_back(NameKey(r.kind), JsonString(r.name));
    f.emplace_back("resolved_name", JsonString(r.resolved_name));
  }
  if (r.kind == TrackKind::Label) f.emplace_back("text", JsonString(r.text));
  if (r.kind == TrackKind::Transition) {
    f.insert(f.end(), {{"transition_kind", N(r.transition_kind)},
                       {"parameter_0", N(r.param0)},
                       {"parameter_1", N(r.param1)},
                       {"reverse", N(r.reverse)}});
  }
  if (traits.sound) {
    f.insert(f.end(), {{"first_value_start", N(r.sound1_start)},
                       {"first_value_end", N(r.sound1_end)},
                       {"second_value_start", N(r.sound2_start)},
                       {"second_value_end", N(r.sound2_end)}});
  }
  f.emplace_back("ints", Array(r.ints, [](std::int32_t v) { return N(v); }));
  f.emplace_back("bytes", Array(r.bytes, [](std::uint8_t v) { return N(v); }));
  f.emplace_back("pairs", Array(r.pairs, Pair));
  f.emplace_back("strings", Array(r.strings, [](const std::string& s) { return JsonString(s); }));
  return f;
}

// Records what each track hands its object at one step.
class ListingTarget final : public TFilmTarget {
 public:
  explicit ListingTarget(std::size_t count) : states_(count) {}
  void Show(const TCustomFrameList& track, const FilmTrackState& state) override {
    states_[static_cast<std::size_t>(track.Index())] = state;
  }
  void Hide(const TCustomFrameList&) override {}
  void Forget() { std::fill(states_.begin(), states_.end(), std::nullopt); }
  const std::optional<FilmTrackState>& State(std::size_t index) const { return states_[index]; }

 private:
  std::vector<std::optional<FilmTrackState>> states_;
};

Fields StateFields(std::size_t index, const std::optional<FilmTrackState>& state) {
  Fields f = {{"index", N(static_cast<std::int64_t>(index))}, {"active", state ? "true" : "false"}};
  if (!state) return f;
  const FilmTrackState& s = *state;
  const std::string crop = s.crop ? "[" + N(s.crop->left) + ", " + N(s.crop->top) + ", " + N(s.crop->right) + ", " +
                                        N(s.crop->bottom) + "]"
                                  : "null";
  f.insert(f.end(), {{"frame", N(s.frame_index)},
                     {"x", N(s.x)},
                     {"y", N(s.y)},
                     {"angle", N(s.angle)},
                     {"zoom_x", N(s.zoom_x)},
                     {"zoom_y", N(s.zoom_y)},
                     {"alpha", N(s.alpha)},
                     {"crop", crop},
                     {"anchor", Pair(s.anchor)},
                     {"extent", Pair(s.extent)},
                     {"first_value", N(s.sound1)},
                     {"second_value", N(s.sound2)},
                     {"order", N(s.order)},
                     {"flag1", N(s.flag1)},
                     {"flag2", N(s.flag2)},
                     {"plane_swap", N(s.plane_swap)}});
  return f;
}

void TextLines(std::string& out, const Fields& fields, const std::string& indent) {
  for (const auto& [key, value] : fields) out += indent + key + ": " + value + "\n";
}

}  // namespace

std::string DescribeMotion(ByteSpan file, const std::string& name, bool json, std::span<const std::int64_t> at) {
  std::string refusal;
  TFilmManager film({.on_message = [&refusal](const std::string& text) { refusal = text; }});
  film.SetSuppressResources(true);
  if (!film.Load(file, name)) throw KestError(refusal);

  const MotionHeader& h = film.Header();
  const Fields header = {
      {"type", JsonString(h.type == MotionFileType::Cinema ? "cinema" : "motion")},
      {"version", N(h.version)},
      {"scene", Pair(h.scene_size)},
      {"scene_value", N(h.scene_value)},
      {"flag", N(h.flag)},
      {"offset", Pair(h.offset)},
      {"interval", N(h.interval)},
      {"total_time", N(film.TotalTime())},
  };
  std::vector<Fields> tracks;
  for (std::size_t i = 0; i < film.Count(); ++i) tracks.push_back(TrackFields(film.Track(i)));

  // Each time is stepped on its own, as a player would jump there.
  ListingTarget target(film.Count());
  film.SetTarget(&target);
  std::vector<std::pair<std::int64_t, std::vector<Fields>>> steps;
  for (const std::int64_t time : at) {
    target.Forget();
    film.Step(time);
    std::vector<Fields> states;
    for (std::size_t i = 0; i < film.Count(); ++i) states.push_back(StateFields(i, target.State(i)));
    steps.emplace_back(time, std::move(states));
  }

  std::string out;
  if (json) {
    Fields top = header;
    top.emplace_back("tracks", Array(tracks, Object));
    if (!at.empty()) {
      std::vector<std::string> times;
      for (const auto& [time, states] : steps)
        times.push_back(Object({{"time", N(time)}, {"tracks", Array(states, Object)}}));
      top.emplace_back("at", Array(times, [](const std::string& s) { return s; }));
    }
    return Object(top) + "\n";
  }
  TextLines(out, header, "");
  for (const Fields& track : tracks) {
    out += "track\n";
    TextLines(out, track, "  ");
  }
  for (const auto& [time, states] : steps) {
    out += "at " + N(time) + "\n";
    for (const Fields& state : states) {
      out += "  track\n";
      TextLines(out, state, "    ");
    }
  }
  return out;
}

}  // namespace kest::tool
