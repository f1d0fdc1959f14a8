// Test doubles of the media objects.
#include "support/fakes.h"

namespace testing_support {

bool RecordingSurface::FastBlit(int32_t x, int32_t y, media::Surface& source, media::Rect rect,
                                media::BlitFlags flags) {
  DrawCall c;
  c.op = "blit";
  c.x = x;
  c.y = y;
  auto* rs = dynamic_cast<RecordingSurface*>(&source);
  c.src = rs ? rs->Label() : "?";
  c.rect = rect;
  c.flags = static_cast<int32_t>(flags);
  log_->push_back(c);
  return true;
}

void RecordingSurface::DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  DrawCall c;
  c.op = "box";
  c.rect = {x1, y1, x2, y2};
  log_->push_back(c);
}

void RecordingSurface::DrawText(int32_t x, int32_t y, const std::string& text) {
  DrawCall c;
  c.op = "text";
  c.x = x;
  c.y = y;
  c.text = text;
  log_->push_back(c);
}

void RecordingSurface::SetForeColor(media::Rgb rgb) {
  DrawCall c;
  c.op = "fore";
  c.rgb = rgb;
  log_->push_back(c);
}

void RecordingSurface::SetFillColor(media::Rgb rgb) {
  DrawCall c;
  c.op = "fill";
  c.rgb = rgb;
  log_->push_back(c);
}

void RecordingSurface::Flip() {
  DrawCall c;
  c.op = "flip";
  log_->push_back(c);
}

int32_t QueueKeyboard::GetDeviceData(std::span<media::KeyEvent> events) {
  int32_t n = 0;
  while (!queue.empty() && static_cast<size_t>(n) < events.size()) {
    events[n++] = queue.front();
    queue.pop_front();
  }
  return n;
}

void QueueKeyboard::Down(int32_t key) {
  if (queue.size() < 64) queue.push_back({key, 128, 0, 0});
}

void QueueKeyboard::Up(int32_t key) {
  if (queue.size() < 64) queue.push_back({key, 0, 0, 0});
}

Rig::Rig() {
  g.backBuffer = std::make_shared<RecordingSurface>("back", &draws);
  g.primarySurface = std::make_shared<RecordingSurface>("primary", &draws);
  g.backgroundSurface = std::make_shared<RecordingSurface>("background", &draws);
  g.spriteSurface = std::make_shared<RecordingSurface>("sprite", &draws);
  g.sndKyan = std::make_shared<LoggingSoundBuffer>("sndKyan", &sounds);
  g.sndShot = std::make_shared<LoggingSoundBuffer>("sndShot", &sounds);
  g.sndHit = std::make_shared<LoggingSoundBuffer>("sndHit", &sounds);
  g.sndFueen = std::make_shared<LoggingSoundBuffer>("sndFueen", &sounds);
  g.sndStart = std::make_shared<LoggingSoundBuffer>("sndStart", &sounds);
  g.sndEnd = std::make_shared<LoggingSoundBuffer>("sndEnd", &sounds);
  g.sndType = std::make_shared<LoggingSoundBuffer>("sndType", &sounds);
  keys = std::make_shared<QueueKeyboard>();
  g.keyboard = keys;
  g.level = 3;
  g.maxLevel = 3;
  g.ringHead = 1;
  g.ringTail = 1;
}

std::vector<DrawCall> Rig::Only(const std::string& op) const {
  std::vector<DrawCall> out;
  for (const DrawCall& c : draws) {
    if (c.op == op) out.push_back(c);
  }
  return out;
}

}  // namespace testing_support
