// Key-to-picture latency of whatever shows on an X screen: presses a key
// through XTest and polls a small region of the root window until its pixels
// change, for the window benchmark (bench/window.sh).
//
//   rapiko_key_latency --key KEYSYM --region X,Y,W,H [--presses N]
//                      [--gap MIN_MS,MAX_MS] [--timeout MS]
//
// Each press: the region is read, the key goes down (the time taken just
// before, CLOCK_MONOTONIC), the region is read again every 0.2 ms until it
// differs, the key goes up. The time from the press to the first changed
// read is printed in milliseconds, one line a press ("timeout" when nothing
// changed within the timeout). Between presses it waits a random time in the
// gap, so that presses fall at every point of a program's frame.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

int64_t NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

void SleepNs(int64_t ns) {
  timespec t{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
  while (nanosleep(&t, &t) != 0) {
  }
}

struct Area {
  int x = 0, y = 0, w = 0, h = 0;
};

// The region's pixels as the server has them now (empty on failure).
std::vector<uint8_t> Read(Display* display, Window root, const Area& r) {
  std::vector<uint8_t> out;
  XImage* image = XGetImage(display, root, r.x, r.y, static_cast<unsigned>(r.w),
                            static_cast<unsigned>(r.h), AllPlanes, ZPixmap);
  if (!image) return out;
  const size_t rowBytes = static_cast<size_t>(r.w) * static_cast<size_t>(image->bits_per_pixel / 8);
  out.resize(rowBytes * static_cast<size_t>(r.h));
  for (int y = 0; y < r.h; ++y) {
    std::memcpy(out.data() + rowBytes * static_cast<size_t>(y),
                image->data + static_cast<ptrdiff_t>(y) * image->bytes_per_line, rowBytes);
  }
  XDestroyImage(image);
  return out;
}

[[noreturn]] void Usage() {
  std::fprintf(stderr,
               "usage: rapiko_key_latency --key KEYSYM --region X,Y,W,H [--presses N]\n"
               "                          [--gap MIN_MS,MAX_MS] [--timeout MS]\n");
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  std::string key;
  Area region;
  int presses = 30;
  int gapMin = 150;
  int gapMax = 350;
  int timeoutMs = 500;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) Usage();
    const char* value = argv[++i];
    if (arg == "--key") {
      key = value;
    } else if (arg == "--region") {
      if (std::sscanf(value, "%d,%d,%d,%d", &region.x, &region.y, &region.w, &region.h) != 4)
        Usage();
    } else if (arg == "--presses") {
      presses = std::atoi(value);
    } else if (arg == "--gap") {
      if (std::sscanf(value, "%d,%d", &gapMin, &gapMax) != 2 || gapMax < gapMin) Usage();
    } else if (arg == "--timeout") {
      timeoutMs = std::atoi(value);
    } else {
      Usage();
    }
  }
  if (key.empty() || region.w <= 0 || region.h <= 0 || presses <= 0) Usage();
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "rapiko_key_latency: cannot open the display\n");
    return 1;
  }
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "rapiko_key_latency: the X server has no XTest\n");
    return 1;
  }
  const KeySym sym = XStringToKeysym(key.c_str());
  const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
  if (code == 0) {
    std::fprintf(stderr, "rapiko_key_latency: no key for %s\n", key.c_str());
    return 1;
  }
  const Window root = DefaultRootWindow(display);
  std::mt19937 random(static_cast<uint32_t>(NowNs()));
  std::uniform_int_distribution<int> gap(gapMin, gapMax);
  constexpr int64_t kPollNs = 200'000;
  for (int n = 0; n < presses; ++n) {
    SleepNs(int64_t{gap(random)} * 1'000'000);
    const std::vector<uint8_t> before = Read(display, root, region);
    if (before.empty()) {
      std::fprintf(stderr, "rapiko_key_latency: cannot read the region\n");
      return 1;
    }
    const int64_t pressed = NowNs();
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XFlush(display);
    int64_t changed = -1;
    while (NowNs() - pressed < int64_t{timeoutMs} * 1'000'000) {
      const std::vector<uint8_t> now = Read(display, root, region);
      if (now != before) {
        changed = NowNs();
        break;
      }
      SleepNs(kPollNs);
    }
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
    if (changed < 0) {
      std::printf("timeout\n");
    } else {
      std::printf("%.3f\n", static_cast<double>(changed - pressed) / 1e6);
    }
    std::fflush(stdout);
  }
  XCloseDisplay(display);
  return 0;
}
