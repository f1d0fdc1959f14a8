// The JSON lines that a headless run prints: the game state and the frame.
#include "script/state_json.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "media/text.h"

namespace script {

namespace {

using json = nlohmann::ordered_json;

json Text(const std::string& bytes) { return media::ToJsonUtf8(bytes); }

json RectJson(const media::Rect& r) { return json::array({r.left, r.top, r.right, r.bottom}); }

// "WAVHIT.play" as "sndHit.play": the field of the game state that holds
// each sound resource's buffer.
std::string FieldCall(const std::string& call) {
  const size_t dot = call.find('.');
  for (const state::SoundField& sound : state::kSoundFields) {
    if (call.compare(0, dot, sound.resource) == 0) return sound.field + call.substr(dot);
  }
  return call;
}

}  // namespace

std::string StateJson(const state::GameState& g, int32_t tickCount,
                      const std::vector<std::string>& sounds) {
  json j;
  j["gameMode"] = g.gameMode;
  j["quitRequested"] = g.quitRequested;
  j["score"] = g.score;
  j["combo"] = g.combo;
  j["hitCount"] = g.hitCount;
  j["level"] = g.level;
  j["maxLevel"] = g.maxLevel;
  j["roundTime"] = g.roundTime;
  j["entryDone"] = g.entryDone;
  j["ringHead"] = g.ringHead;
  j["ringTail"] = g.ringTail;
  j["lockTail"] = g.lockTail;
  j["lockHead"] = g.lockHead;
  j["lockCount"] = g.lockCount;
  j["shotActive"] = g.shotActive;
  j["wordCount"] = g.wordCount;
  j["letterCount"] = g.letterCount;
  j["tickCount"] = tickCount;
  j["entryName"] = Text(g.entryName);
  j["rankKeys"] = g.rankKeys;
  json names = json::array();
  for (const std::string& n : g.rankNames) names.push_back(Text(n));
  j["rankNames"] = names;
  json targets = json::array();
  for (const state::Target& t : g.targets) {
    targets.push_back({{"x", t.x}, {"y", t.y}, {"vx", t.vx}, {"keyCode", t.keyCode}});
  }
  j["targets"] = targets;
  j["lockQueue"] = g.lockQueue;
  json trail = json::array();
  for (const state::TrailPoint& p : g.shotTrail) trail.push_back({{"x", p.x}, {"y", p.y}});
  j["shotTrail"] = trail;
  json popups = json::array();
  for (const state::Popup& p : g.popups) {
    popups.push_back({{"x", p.x}, {"y", p.y}, {"timeLeft", p.timeLeft}, {"points", p.points}});
  }
  j["popups"] = popups;
  json words = json::array();
  for (const std::string& w : g.words) words.push_back(Text(w));
  j["words"] = words;
  json starts = json::array();
  for (size_t i = 0; i <= 100; ++i) starts.push_back(g.wordStart[i]);
  j["wordStart"] = starts;
  j["letterKeys"] = g.letterKeys;
  json pacing = json::object();
  state::ForEachPacingField(g.pacing,
                            [&pacing](const char* name, auto value) { pacing[name] = value; });
  j["pacing"] = pacing;
  json calls = json::array();
  for (const std::string& call : sounds) calls.push_back(FieldCall(call));
  j["sounds"] = calls;
  return j.dump();
}

std::string FrameJson(const std::vector<media::SurfaceOp>& ops) {
  json list = json::array();
  for (const media::SurfaceOp& op : ops) {
    using Kind = media::SurfaceOp::Kind;
    switch (op.kind) {
      case Kind::Blit:
        list.push_back({{"op", "blit"},
                        {"x", op.x},
                        {"y", op.y},
                        {"src", op.src},
                        {"rect", RectJson(op.rect)},
                        {"flags", op.flags},
                        {"drawn", op.drawn}});
        break;
      case Kind::Box:
        list.push_back(
            {{"op", "box"}, {"rect", RectJson(op.rect)}, {"fore", op.fore}, {"fill", op.fill}});
        break;
      case Kind::Text:
        list.push_back(
            {{"op", "text"}, {"x", op.x}, {"y", op.y}, {"text", Text(op.text)}, {"fore", op.fore}});
        break;
      case Kind::Fore:
        list.push_back({{"op", "fore"}, {"rgb", op.rgb}});
        break;
      case Kind::Fill:
        list.push_back({{"op", "fill"}, {"rgb", op.rgb}});
        break;
      case Kind::Flip:
        list.push_back({{"op", "flip"}});
        break;
    }
  }
  return json{{"ops", list}}.dump();
}

std::string ChecksumJson(const std::vector<uint8_t>& pixels, const media::Palette& palette) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  const auto add = [&hash](uint8_t byte) { hash = (hash ^ byte) * 0x100000001b3ULL; };
  for (const uint8_t p : pixels) add(p);
  for (const media::Color& c : palette.Colors()) {
    add(c.r);
    add(c.g);
    add(c.b);
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return json{{"checksum", hex}}.dump();
}

}  // namespace script
