// Tests of the headless platform: call log, frame log, screen copy, sound
// model, key queue and the pictures loaded at start-up.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "media/backend_test_files.h"
#include "media/display_common.h"
#include "media/headless.h"
#include "media/wav.h"

namespace media {
namespace {

using backend_test::MakeBmp;
using backend_test::MakeWav;
using backend_test::TempDir;

constexpr std::array<const char*, 7> kSoundNames = {"WAVKYAN", "WAVSHOT", "WAVHIT",  "WAVFUEEN",
                                                    "WAVTYPE", "WAVEND",  "WAVSTART"};

uint8_t BackPixel(int32_t x, int32_t y) { return static_cast<uint8_t>((x + 3 * y) % 256); }
// The stored sheet: 348 wide, its last two columns black (index 0).
uint8_t SheetPixel(int32_t x, int32_t y) {
  return x >= 346 ? 0 : static_cast<uint8_t>((7 * x + y) % 256);
}

// A platform whose embedded files are small test files: every sound is
// 8-bit mono at 1000 bytes a second, so its byte count is its length in ms.
struct Fixture {
  Fixture() : dir("rapiko-headless") {
    resources.files["ABC"] = MakeBmp(348, 262, SheetPixel);
    for (const char* name : kSoundNames) resources.files[name] = MakeWav(1000, 8, 100);
    platform.SetResources(resources.Lookup());
    backPath = dir.Write("back.bmp", MakeBmp(640, 480, BackPixel));
  }
  backend_test::Resources resources;
  TempDir dir;
  std::string backPath;
  HeadlessPlatform platform;
};

// The objects of a start-up, made in the game's order.
struct Devices {
  std::shared_ptr<Root> root;
  std::shared_ptr<Display> display;
  std::shared_ptr<Surface> primary, back, background, sprite;
  std::shared_ptr<Palette> palette;
  std::shared_ptr<SoundDevice> sound;
  std::vector<std::shared_ptr<SoundBuffer>> buffers;
  std::shared_ptr<Input> input;
  std::shared_ptr<KeyboardDevice> keyboard;

  Devices(HeadlessPlatform& platform, const std::string& backPath) {
    root = platform.CreateRoot();
    display = root->CreateDisplay();
    display->SetCooperativeLevel(CooperativeLevel::FullscreenExclusive);
    display->SetDisplayMode(640, 480, 8);
    primary = display->CreatePrimarySurface(1);
    back = primary->GetAttachedSurface();
    palette = display->LoadPaletteFromFile(backPath);
    primary->SetPalette(palette);
    background = display->CreateSurfaceFromFile(backPath, 640, 480);
    sprite = display->CreateSurfaceFromResource("ABC", 346, 262);
    sprite->SetColorKey(128);
    sound = root->CreateSoundDevice();
    sound->SetCooperativeLevel(SoundLevel::Priority);
    for (const char* name : kSoundNames)
      buffers.push_back(sound->CreateSoundBufferFromResource(name));
    input = root->CreateInput();
    keyboard = input->CreateKeyboardDevice();
    keyboard->SetDataFormatKeyboard();
    keyboard->SetCooperativeLevel(10);
    keyboard->SetBufferSize(64);
    keyboard->Acquire();
  }
};

TEST(HeadlessCallLog, StartUpAndShutdownInOrder) {
  Fixture f;
  auto d = std::make_unique<Devices>(f.platform, f.backPath);
  // Per-frame work is not in the call log.
  d->back->FastBlit(0, 0, *d->background, Rect{}, BlitFlags::Wait);
  d->primary->Flip();
  d->buffers[0]->Play();

  d->display->RestoreDisplayMode();
  d->display->SetCooperativeLevel(CooperativeLevel::Normal);
  d->palette.reset();
  d->back.reset();
  d->primary.reset();
  d->display.reset();
  d->buffers.clear();
  d->sound.reset();
  d->keyboard->Unacquire();
  d->input.reset();
  d->keyboard.reset();
  d->root.reset();

  const std::vector<std::string> expected = {
      "Root.CreateDisplay",
      "Display.SetCooperativeLevel(17)",
      "Display.SetDisplayMode(640,480,8)",
      "Display.CreatePrimarySurface(1)",
      "Surface.GetAttachedSurface",
      "Display.LoadPaletteFromFile(back.bmp)",
      "Surface.SetPalette",
      "Display.CreateSurfaceFromFile(back.bmp,640,480)",
      "Display.CreateSurfaceFromResource(ABC,346,262)",
      "Surface.SetColorKey(128)",
      "Root.CreateSoundDevice",
      "SoundDevice.SetCooperativeLevel(2)",
      "SoundDevice.CreateSoundBuffer(WAVKYAN)",
      "SoundDevice.CreateSoundBuffer(WAVSHOT)",
      "SoundDevice.CreateSoundBuffer(WAVHIT)",
      "SoundDevice.CreateSoundBuffer(WAVFUEEN)",
      "SoundDevice.CreateSoundBuffer(WAVTYPE)",
      "SoundDevice.CreateSoundBuffer(WAVEND)",
      "SoundDevice.CreateSoundBuffer(WAVSTART)",
      "Root.CreateInput",
      "Input.CreateKeyboardDevice",
      "Keyboard.SetDataFormat",
      "Keyboard.SetCooperativeLevel(10)",
      "Keyboard.SetBufferSize(64)",
      "Keyboard.Acquire",
      "Display.RestoreDisplayMode",
      "Display.SetCooperativeLevel(8)",
      // The primary holds its back buffer and palette: they go with it.
      "Release.Surface(primary)",
      "Release.Surface(back)",
      "Release.Palette",
      "Release.Display",
      "Release.SoundBuffer(WAVKYAN)",
      "Release.SoundBuffer(WAVSHOT)",
      "Release.SoundBuffer(WAVHIT)",
      "Release.SoundBuffer(WAVFUEEN)",
      "Release.SoundBuffer(WAVTYPE)",
      "Release.SoundBuffer(WAVEND)",
      "Release.SoundBuffer(WAVSTART)",
      "Release.SoundDevice",
      "Keyboard.Unacquire",
      "Release.Input",
      "Release.Keyboard",
      "Release.Root",
  };
  EXPECT_EQ(f.platform.CallLog(), expected);
}

TEST(HeadlessCallLog, ObjectsMayOutliveThePlatform) {
  std::shared_ptr<SoundBuffer> buffer;
  std::shared_ptr<Surface> primary;
  {
    Fixture f;
    Devices d(f.platform, f.backPath);
    buffer = d.buffers[2];
    primary = d.primary;
  }
  // The platform is gone; using and releasing its objects must stay safe.
  buffer->Play();
  primary->Flip();
  buffer.reset();
  primary.reset();
  SUCCEED();
}

TEST(HeadlessFrame, OpsOfBackAndPrimaryInOrderWithTheFlip) {
  Fixture f;
  Devices d(f.platform, f.backPath);
  f.platform.ClearFrame();
  d.back->FastBlit(0, 0, *d.background, Rect{}, BlitFlags::Wait);
  d.back->SetForeColor(MakeRgb(255, 0, 0));
  d.back->SetFillColor(MakeRgb(0, 0, 255));
  d.back->DrawBox(10, 20, 30, 40);
  d.back->DrawText(5, 6, "Rapiko");
  d.back->FastBlit(600, 0, *d.sprite, Rect{0, 0, 49, 37}, BlitFlags::KeySrcWait);  // off the edge
  d.background->SetForeColor(MakeRgb(1, 2, 3));  // not the back buffer: not logged
  d.primary->Flip();

  const auto& ops = f.platform.FrameOps();
  ASSERT_EQ(ops.size(), 7u);
  EXPECT_EQ(ops[0].kind, SurfaceOp::Kind::Blit);
  EXPECT_EQ(ops[0].src, "background");
  EXPECT_TRUE(ops[0].drawn);
  EXPECT_EQ(ops[1].kind, SurfaceOp::Kind::Fore);
  EXPECT_EQ(ops[1].rgb, MakeRgb(255, 0, 0));
  EXPECT_EQ(ops[2].kind, SurfaceOp::Kind::Fill);
  EXPECT_EQ(ops[3].kind, SurfaceOp::Kind::Box);
  EXPECT_EQ(ops[3].rect, (Rect{10, 20, 30, 40}));
  EXPECT_EQ(ops[4].kind, SurfaceOp::Kind::Text);
  EXPECT_EQ(ops[4].text, "Rapiko");
  EXPECT_EQ(ops[5].kind, SurfaceOp::Kind::Blit);
  EXPECT_EQ(ops[5].src, "sprite");
  EXPECT_FALSE(ops[5].drawn);
  EXPECT_EQ(ops[6].kind, SurfaceOp::Kind::Flip);

  f.platform.ClearFrame();
  EXPECT_TRUE(f.platform.FrameOps().empty());
}

TEST(HeadlessFrame, ScreenIsTheFlippedFrameThroughTheBackPalette) {
  Fixture f;
  Devices d(f.platform, f.backPath);
  ASSERT_EQ(f.platform.ScreenPixels().size(), 640u * 480u);
  EXPECT_EQ(f.platform.ScreenPixels()[641], 0);  // nothing shown before the first flip

  d.back->FastBlit(0, 0, *d.background, Rect{}, BlitFlags::Wait);
  d.primary->Flip();
  const auto& screen = f.platform.ScreenPixels();
  ASSERT_EQ(screen.size(), 640u * 480u);
  for (int32_t y : {0, 1, 240, 479}) {
    for (int32_t x : {0, 1, 320, 639})
      EXPECT_EQ(screen[y * 640 + x], BackPixel(x, y)) << x << "," << y;
  }
  for (int i : {0, 1, 128, 200, 255})
    EXPECT_EQ(f.platform.ScreenPalette().Colors()[i], backend_test::TestColor(i));

  // Drawing after the flip is not on the screen until the next flip.
  d.back->FastBlit(0, 0, *d.sprite, Rect{0, 0, 49, 37}, BlitFlags::Wait);
  EXPECT_EQ(f.platform.ScreenPixels()[1], BackPixel(1, 0));
  d.primary->Flip();
  EXPECT_EQ(f.platform.ScreenPixels()[1], SheetPixel(1, 0));
}

TEST(HeadlessPictures, SheetIsCutTo346WithItsOwnIndicesAndKey128) {
  Fixture f;
  Devices d(f.platform, f.backPath);
  auto& sheet = dynamic_cast<SoftSurface&>(*d.sprite);
  EXPECT_EQ(sheet.Label(), "sprite");
  EXPECT_EQ(sheet.Width(), 346);
  EXPECT_EQ(sheet.Height(), 262);
  EXPECT_EQ(sheet.ColorKey(), std::optional<uint8_t>(128));
  for (int32_t y : {0, 100, 261}) {
    for (int32_t x : {0, 48, 345}) EXPECT_EQ(sheet.At(x, y), SheetPixel(x, y));
  }
  ASSERT_TRUE(sheet.GetPalette());
  EXPECT_EQ(sheet.GetPalette()->Colors()[128], (Color{0, 0, 255}));

  auto& background = dynamic_cast<SoftSurface&>(*d.background);
  EXPECT_EQ(background.Label(), "background");
  EXPECT_EQ(background.At(639, 479), BackPixel(639, 479));
}

TEST(HeadlessPictures, TheProgramsOwnSheetLoads) {
  HeadlessPlatform platform;  // the embedded files of the program
  auto display = platform.CreateRoot()->CreateDisplay();
  auto sprite = display->CreateSurfaceFromResource("ABC", 346, 262);
  auto& sheet = dynamic_cast<SoftSurface&>(*sprite);
  EXPECT_EQ(sheet.Width(), 346);
  EXPECT_EQ(sheet.Height(), 262);
  // The sheet's background is index 128, pure blue.
  EXPECT_EQ(sheet.At(345, 261), 128);
  EXPECT_EQ(sheet.GetPalette()->Colors()[128], (Color{0, 0, 255}));
}

TEST(HeadlessPictures, SheetErrorsAreOneLineNamingTheResource) {
  Fixture f;
  auto display = f.platform.CreateRoot()->CreateDisplay();
  for (auto bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{'B', 'M', 1, 2, 3},
                     MakeBmp(300, 262, SheetPixel), MakeBmp(348, 262, SheetPixel, 24)}) {
    f.resources.files["ABC"] = bytes;
    try {
      display->CreateSurfaceFromResource("ABC", 346, 262);
      ADD_FAILURE() << "no error for " << bytes.size() << " bytes";
    } catch (const PlatformError& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind("ABC: ", 0), 0u) << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
  }
}

// Each bad back.bmp stops both the palette and the background with one line
// that names the file and the problem.
TEST(HeadlessPictures, BackBmpErrorsAreOneLineNamingTheFile) {
  Fixture f;
  auto display = f.platform.CreateRoot()->CreateDisplay();
  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;  // empty: no file at all
    std::string problem;
  };
  std::vector<uint8_t> damaged = MakeBmp(640, 480, BackPixel);
  damaged.resize(2000);
  const std::vector<Case> cases = {
      {"missing", {}, "cannot read: No such file or directory"},
      {"damaged", damaged, ""},
      {"garbage", {'n', 'o', 't', ' ', 'b', 'm', 'p'}, "not a BMP"},
      {"deep", MakeBmp(640, 480, BackPixel, 24), "not a 256-colour picture (24 bits per pixel)"},
  };
  for (const Case& c : cases) {
    TempDir dir("rapiko-back-" + c.name);
    const std::string path =
        c.bytes.empty() ? dir.File("back.bmp") : dir.Write("back.bmp", c.bytes);
    for (int which = 0; which < 2; ++which) {
      try {
        if (which == 0)
          display->LoadPaletteFromFile(path);
        else
          display->CreateSurfaceFromFile(path, 640, 480);
        ADD_FAILURE() << c.name << ": no error";
      } catch (const PlatformError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(c.problem), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
      }
    }
  }

  // A 256-colour picture of the wrong size still gives its palette, but not
  // a background.
  TempDir dir("rapiko-back-small");
  const std::string path = dir.Write("back.bmp", MakeBmp(320, 200, BackPixel));
  EXPECT_EQ(display->LoadPaletteFromFile(path)->Colors()[7], backend_test::TestColor(7));
  try {
    display->CreateSurfaceFromFile(path, 640, 480);
    ADD_FAILURE() << "no error for 320 x 200";
  } catch (const PlatformError& e) {
    EXPECT_EQ(std::string(e.what()), path + ": the picture is 320 x 200, not 640 x 480");
  }
}

TEST(HeadlessDisplay, OnlyTheGamesModeAndOneBackBuffer) {
  Fixture f;
  auto display = f.platform.CreateRoot()->CreateDisplay();
  EXPECT_THROW(display->SetDisplayMode(800, 600, 8), PlatformError);
  EXPECT_THROW(display->SetDisplayMode(640, 480, 16), PlatformError);
  EXPECT_THROW(display->CreatePrimarySurface(2), PlatformError);
  EXPECT_NO_THROW(display->SetDisplayMode(640, 480, 8));
  auto primary = display->CreatePrimarySurface(1);
  auto back = std::dynamic_pointer_cast<SoftSurface>(primary->GetAttachedSurface());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Label(), "back");
  EXPECT_EQ(back->Width(), 640);
  EXPECT_EQ(back->Height(), 480);
  EXPECT_EQ(dynamic_cast<SoftSurface&>(*primary).Label(), "primary");
}

TEST(HeadlessSound, LogNamesAreTheGameStateFields) {
  Fixture f;
  Devices d(f.platform, f.backPath);
  for (auto& buffer : d.buffers) buffer->Play();
  d.buffers[2]->SetCurrentPosition(0);
  const std::vector<std::string> expected = {"sndKyan.play",  "sndShot.play", "sndHit.play",
                                             "sndFueen.play", "sndType.play", "sndEnd.play",
                                             "sndStart.play", "sndHit.rewind"};
  EXPECT_EQ(f.platform.TakeSoundLog(), expected);
  EXPECT_TRUE(f.platform.TakeSoundLog().empty());
}

// Every test sound lasts 100 ms of the virtual clock.
TEST(HeadlessSound, PlaySemanticsOnTheVirtualClock) {
  Fixture f;
  Devices d(f.platform, f.backPath);
  SoundBuffer& hit = *d.buffers[2];
  auto playing = [&] { return f.platform.IsSoundPlaying("sndHit"); };
  f.platform.SetTick(1000);
  EXPECT_FALSE(playing());

  // A rewind of a stopped buffer does not start it.
  hit.SetCurrentPosition(0);
  EXPECT_FALSE(playing());

  hit.Play();
  EXPECT_TRUE(playing());
  f.platform.Advance(60);
  hit.Play();  // still playing: goes on, no restart
  f.platform.Advance(39);
  EXPECT_TRUE(playing());
  f.platform.Advance(1);  // 100 ms after the start
  EXPECT_FALSE(playing());

  hit.Play();  // finished: starts again, now at 1100
  f.platform.Advance(50);
  hit.SetCurrentPosition(0);  // playing: restarts at 1150
  f.platform.Advance(99);
  EXPECT_TRUE(playing());
  f.platform.Advance(1);
  EXPECT_FALSE(playing());

  // Rewind and play of a stopped buffer plays from now.
  hit.SetCurrentPosition(0);
  hit.Play();
  EXPECT_TRUE(playing());
  EXPECT_FALSE(f.platform.IsSoundPlaying("sndKyan"));
  EXPECT_FALSE(f.platform.IsSoundPlaying("nothing"));
}

TEST(HeadlessSound, PlayingAcrossTheTickCountWrap) {
  Fixture f;
  Devices d(f.platform, f.backPath);
  f.platform.SetTick(0xFFFFFFF0u);
  d.buffers[0]->Play();
  f.platform.Advance(0x30);  // the count wrapped: 48 ms later
  EXPECT_TRUE(f.platform.IsSoundPlaying("sndKyan"));
  f.platform.Advance(52);
  EXPECT_FALSE(f.platform.IsSoundPlaying("sndKyan"));
}

TEST(HeadlessSound, LengthComesFromTheSoundsOwnFormat) {
  Fixture f;
  // 16-bit 22050 Hz: 44100 bytes a second; 5760 bytes last 130.6 ms.
  f.resources.files["WAVSHOT"] = MakeWav(22050, 16, 5760, true);
  auto shot =
      f.platform.CreateRoot()->CreateSoundDevice()->CreateSoundBufferFromResource("WAVSHOT");
  shot->Play();
  f.platform.Advance(130);
  EXPECT_TRUE(f.platform.IsSoundPlaying("sndShot"));
  f.platform.Advance(1);
  EXPECT_FALSE(f.platform.IsSoundPlaying("sndShot"));
  EXPECT_THROW(shot->SetCurrentPosition(100), PlatformError);
}

TEST(HeadlessSound, TheProgramsOwnSoundsHaveTheirTableLengths) {
  HeadlessPlatform platform;  // the embedded files of the program
  auto device = platform.CreateRoot()->CreateSoundDevice();
  struct Expect {
    const char* resource;
    const char* field;
    uint32_t lastPlayingMs;  // playing then, stopped a millisecond later
  };
  const Expect table[] = {
      {"WAVKYAN", "sndKyan", 244}, {"WAVHIT", "sndHit", 562}, {"WAVFUEEN", "sndFueen", 2182}};
  for (const Expect& e : table) {
    auto buffer = device->CreateSoundBufferFromResource(e.resource);
    platform.SetTick(0);
    buffer->Play();
    platform.SetTick(e.lastPlayingMs);
    EXPECT_TRUE(platform.IsSoundPlaying(e.field)) << e.resource;
    platform.SetTick(e.lastPlayingMs + 1);
    EXPECT_FALSE(platform.IsSoundPlaying(e.field)) << e.resource;
  }
}

TEST(HeadlessSound, MissingOrDamagedWaveFailsAtCreation) {
  Fixture f;
  auto device = f.platform.CreateRoot()->CreateSoundDevice();
  std::vector<uint8_t> truncated = MakeWav(1000, 8, 100);
  truncated.resize(truncated.size() - 10);
  std::vector<uint8_t> noData = MakeWav(1000, 8, 0);
  noData.resize(noData.size() - 8);  // drop the data chunk's header
  for (const auto& bytes :
       {std::vector<uint8_t>{}, std::vector<uint8_t>{'R', 'I', 'F', 'F'}, truncated, noData}) {
    f.resources.files["WAVHIT"] = bytes;
    try {
      device->CreateSoundBufferFromResource("WAVHIT");
      ADD_FAILURE() << "no error for " << bytes.size() << " bytes";
    } catch (const PlatformError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("WAVHIT: ", 0), 0u) << e.what();
    }
  }
}

TEST(WaveInfo, ReadsFormatAndDataSizePastOtherChunks) {
  const auto bytes = MakeWav(11025, 8, 6207, true);
  const WaveInfo info = ReadWaveInfo(bytes);
  EXPECT_EQ(info.formatTag, 1);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.samplesPerSecond, 11025u);
  EXPECT_EQ(info.bytesPerSecond, 11025u);
  EXPECT_EQ(info.bitsPerSample, 8);
  EXPECT_EQ(info.dataBytes, 6207u);
  EXPECT_TRUE(info.PlaysAt(562));  // 6207 / 11025 s = 563.0 ms
  EXPECT_FALSE(info.PlaysAt(563));
  EXPECT_FALSE(info.PlaysAt(0xFFFFFFFFu));
}

TEST(HeadlessKeyboard, QueueHolds64AndHandsThemOutOldestFirst) {
  Fixture f;
  Devices d(f.platform, f.backPath);
  f.platform.SetTick(500);
  for (int32_t i = 0; i < 64; ++i) {
    EXPECT_TRUE(f.platform.QueueKey(i + 1, i % 2 == 0 ? 128 : 0));
    f.platform.Advance(1);
  }
  EXPECT_FALSE(f.platform.QueueKey(99, 128));  // the 65th is dropped
  EXPECT_EQ(f.platform.PendingKeys(), 64u);

  std::vector<KeyEvent> events(65);
  EXPECT_EQ(d.keyboard->GetDeviceData(events), 64);
  for (int32_t i = 0; i < 64; ++i) {
    EXPECT_EQ(events[i].keyCode, i + 1);
    EXPECT_EQ(events[i].data, i % 2 == 0 ? 128 : 0);
    EXPECT_EQ(events[i].timeStamp, 500 + i);
    if (i > 0) {
      EXPECT_GT(events[i].sequence, events[i - 1].sequence);
    }
  }
  EXPECT_EQ(events[64].keyCode, 0);
  EXPECT_EQ(f.platform.PendingKeys(), 0u);
}

TEST(HeadlessKeyboard, PartialReadsLeaveLaterSlotsAndEventsAsTheyWere) {
  Fixture f;
  Devices d(f.platform, f.backPath);
  for (int32_t key : {30, 48, 46, 32, 18, 33, 34}) f.platform.QueueKey(key, 128);

  KeyEvent marker;
  marker.keyCode = 77;
  marker.data = 55;
  std::vector<KeyEvent> five(5, marker);
  EXPECT_EQ(d.keyboard->GetDeviceData(five), 5);
  EXPECT_EQ(five[0].keyCode, 30);
  EXPECT_EQ(five[4].keyCode, 18);

  std::fill(five.begin(), five.end(), marker);
  EXPECT_EQ(d.keyboard->GetDeviceData(five), 2);
  EXPECT_EQ(five[0].keyCode, 33);
  EXPECT_EQ(five[1].keyCode, 34);
  for (size_t i = 2; i < 5; ++i) {
    EXPECT_EQ(five[i].keyCode, 77);
    EXPECT_EQ(five[i].data, 55);
  }
  EXPECT_EQ(d.keyboard->GetDeviceData(five), 0);
}

TEST(HeadlessKeyboard, ReadingUnacquiredFails) {
  HeadlessPlatform platform;
  platform.QueueKey(30, 128);  // queued before the device exists: kept
  auto keyboard = platform.CreateRoot()->CreateInput()->CreateKeyboardDevice();
  std::vector<KeyEvent> events(4);
  try {
    keyboard->GetDeviceData(events);
    ADD_FAILURE() << "read before Acquire";
  } catch (const PlatformError& e) {
    EXPECT_STREQ(e.what(), "keyboard not acquired");
  }
  keyboard->Acquire();
  EXPECT_EQ(keyboard->GetDeviceData(events), 1);
  keyboard->Unacquire();
  EXPECT_THROW(keyboard->GetDeviceData(events), PlatformError);
}

}  // namespace
}  // namespace media
