# The two commands of a newcomer: `make play` and `make test`.
BUILD ?= build
BUILD_SAN ?= build-sanitize
BUILD_BENCH ?= build-bench
BUILD_FUZZ ?= build-fuzz
BUILD_PACKAGE ?= build-package
BUILD_WINDOWS ?= build-windows
BUILD_WEB ?= build-web
WEB_PORT ?= 8000
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all deps configure build game play play-window test golden-update test-sanitize bench \
        bench-build bench-window bench-web fuzz fuzz-ci install install-check package windows test-windows \
        format format-check ci clean web serve test-web

all: build

# What each kind of work needs, installed when missing (scripts/install-deps.sh).
deps:
	@scripts/install-deps.sh play
deps-%:
	@scripts/install-deps.sh $*

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

# Everything: the game, the tests and their tools.
build: deps-test configure
	cmake --build $(BUILD) -j $(JOBS)

# The game alone, with its files beside it: no tests.
game: configure
	cmake --build $(BUILD) -j $(JOBS) --target rapiko

# Full screen on the desktop; a mouse click or Esc ends the game.
play: game
	$(BUILD)/src/rapiko

play-window: game
	$(BUILD)/src/rapiko --window --scale 2

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Rewrites the tests/golden/*.expected.json that the current game changes, and names them;
# read the diff.
golden-update: build
	@RAPIKO_UPDATE_GOLDEN=1 $(BUILD)/tests/test_golden --gtest_brief=1 --gtest_filter='Golden.*' \
	  | { grep -v '^Running main\|^\[==========\]\|^\[  PASSED  \]' || echo "no expected file changed"; }

# Installs under PREFIX (default /usr/local); DESTDIR stages the install elsewhere.
install: game
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Installs into a scratch folder and validates what it installed.
install-check: deps-ci game
	scripts/install-check.sh $(BUILD)

# A Debian package of the same files, installed under /usr.
package: deps-package
	cmake -S . -B $(BUILD_PACKAGE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAPIKO_TESTS=OFF \
	  -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(BUILD_PACKAGE) -j $(JOBS)
	cd $(BUILD_PACKAGE) && cpack -G DEB
	@ls $(BUILD_PACKAGE)/*.deb

# The Windows program, cross-built with Debian's mingw-w64 (the SDL libraries
# built first from Debian's sources, once), and beside it its portable zip and
# its installer.
windows:
	scripts/windows-deps.sh $(BUILD_WINDOWS)
	cmake -S . -B $(BUILD_WINDOWS) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_PREFIX_PATH=$(abspath $(BUILD_WINDOWS))/deps/prefix
	cmake --build $(BUILD_WINDOWS) -j $(JOBS) --target rapiko windows-packages
	@ls $(BUILD_WINDOWS)/src/rapiko.exe $(BUILD_WINDOWS)/*.zip $(BUILD_WINDOWS)/*-setup.exe

# The Windows program under Wine: its own tests (built here too), every golden
# game through it, compared as on Linux, the real window; its packages, and the
# installer's silent install and uninstall.
test-windows: windows build
	cmake --build $(BUILD_WINDOWS) -j $(JOBS)
	scripts/test-windows.sh $(BUILD_WINDOWS) $(BUILD)

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps-test
	cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRAPIKO_SANITIZE=ON
	cmake --build $(BUILD_SAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(BUILD_SAN) --output-on-failure -j $(JOBS) -LE e2e

bench-build: deps-bench
	cmake -S . -B $(BUILD_BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAPIKO_TESTS=OFF -DRAPIKO_BENCH=ON
	cmake --build $(BUILD_BENCH) -j $(JOBS)

bench: bench-build
	bench/run.sh $(BUILD_BENCH)

# The real window under Xvfb at three screen sizes, beside the floor program;
# BENCH_RUNS runs of BENCH_SECONDS per figure (about two and a half minutes a
# run), and BENCH_PRESSES key presses a run for each key-to-picture figure.
BENCH_RUNS ?= 5
BENCH_SECONDS ?= 8
BENCH_PRESSES ?= 30
# A window manager to run on the benchmark's screen (icewm, say), as players have.
BENCH_WM ?=
bench-window: bench-build
	bench/window.sh $(BUILD_BENCH) --runs $(BENCH_RUNS) --seconds $(BENCH_SECONDS) \
	  --presses $(BENCH_PRESSES) $(if $(BENCH_WM),--wm $(BENCH_WM))

# The page in headless Chromium at 1280 x 960: its load and first picture, then
# pictures a second and CPU over BENCH_SECONDS of play, BENCH_RUNS runs each.
bench-web: web tests/web/node_modules/.package-lock.json
	node bench/web_page_load.mjs $(BUILD_WEB)/site --runs $(BENCH_RUNS)
	node bench/web_play.mjs $(BUILD_WEB)/site --runs $(BENCH_RUNS) --seconds $(BENCH_SECONDS)

# Fuzz each reader for FUZZ_SECONDS (default 600).
FUZZ_SECONDS ?= 600
fuzz: deps-fuzz
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DRAPIKO_TESTS=OFF -DRAPIKO_FUZZ=ON
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	fuzz/run.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

fuzz-ci:
	$(MAKE) fuzz FUZZ_SECONDS=60

# The game for the web, with Debian's emscripten and SDL2 built from Debian's sources:
# $(BUILD_WEB)/node/rapiko.js runs scripted runs under Node, $(BUILD_WEB)/site/ is the page.
web:
	scripts/web-deps.sh $(BUILD_WEB)
	cmake -S . -B $(BUILD_WEB)/wasm -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake -DRAPIKO_TESTS=OFF \
	  -DRAPIKO_WEB_DEPS=$(abspath $(BUILD_WEB))/deps/prefix \
	  -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=$(abspath $(BUILD_WEB))/node \
	  -DRAPIKO_WEB_SITE=$(abspath $(BUILD_WEB))/site
	cmake --build $(BUILD_WEB)/wasm -j $(JOBS)

# The page on this machine only: http://127.0.0.1:$(WEB_PORT)/
serve: web
	node scripts/serve_site.mjs $(BUILD_WEB)/site $(WEB_PORT)

# Every golden game run by the Node build through the same golden test, byte for byte;
# then the page in headless Chromium (tests/web/).
test-web: web build tests/web/node_modules/.package-lock.json
	RAPIKO_PROGRAM="node $(abspath $(BUILD_WEB))/node/rapiko.js" \
	  ctest --test-dir $(BUILD) -L golden --output-on-failure -j $(JOBS)
	RAPIKO_WEB_BUILD=$(abspath $(BUILD_WEB)) node --test tests/web/

tests/web/node_modules/.package-lock.json: tests/web/package-lock.json
	cd tests/web && npm ci --no-audit --no-fund

SOURCES = $(shell git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'web/*.cpp' \
                    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')

format:
	clang-format -i $(SOURCES)

format-check: deps-ci
	clang-format --dry-run --Werror $(SOURCES)

# What CI runs.
ci: format-check test install-check test-windows test-web test-sanitize fuzz-ci

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_BENCH) $(BUILD_FUZZ) $(BUILD_PACKAGE) $(BUILD_WINDOWS) \
	  $(BUILD_WEB)
