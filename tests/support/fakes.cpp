// Test doubles of the media objects.
#include "support/fakes.h"

#include "media/us_keyboard.h"

namespace testing_support {

int32_t QueueKeyboard::GetDeviceData(std::span<media::KeyEvent> events) {
  int32_t n = 0;
  while (!queue.empty() && static_cast<size_t>(n) < events.size()) {
    events[n++] = queue.front();
    queue.pop_front();
  }
  return n;
}

char32_t QueueKeyboard::KeyCharacter(int32_t keyCode) {
  return media::KeyCap(media::UsCharacterOfSet1(keyCode));
}

Rig::Rig() : keys(std::make_shared<QueueKeyboard>()) {
  for (auto* surface : {&g.backBuffer, &g.primarySurface, &g.backgroundSurface, &g.spriteSurface})
    *surface = std::make_shared<BlitLog>(&blits);
  for (auto [sound, name] : {std::pair{&g.sndKyan, "sndKyan"},
                             {&g.sndShot, "sndShot"},
                             {&g.sndHit, "sndHit"},
                             {&g.sndFueen, "sndFueen"},
                             {&g.sndStart, "sndStart"},
                             {&g.sndEnd, "sndEnd"},
                             {&g.sndType, "sndType"}})
    *sound = std::make_shared<LoggingSoundBuffer>(name, &sounds);
  g.keyboard = keys;
  g.level = 3;
  g.maxLevel = 3;
  g.ringHead = 1;
  g.ringTail = 1;
}

void Rig::LoadWords(const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    g.words[++g.wordCount] = word;
    g.wordStart[g.wordCount] = g.letterCount;
    for (char c : word) g.letterKeys[g.letterCount++] = CodeOf(c);
  }
  g.wordStart[g.wordCount + 1] = g.letterCount;
}

}  // namespace testing_support
