# The two commands of a newcomer: `make play` and `make test`.
WEB_PORT ?= 8000
PREFIX ?= /usr/local
# How many compilers and tests run at once.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
export CMAKE_BUILD_PARALLEL_LEVEL ?= $(JOBS)
export CTEST_PARALLEL_LEVEL ?= $(JOBS)
CMAKE_FLAGS ?=

.PHONY: all deps configure build game play play-window test golden-update test-nosdl test-sanitize bench \
        bench-build bench-window bench-web fuzz fuzz-ci install install-check package windows test-windows \
        format format-check ci clean web serve test-web server install-server

all: build

# What each kind of work needs, installed when missing (scripts/install-deps.sh);
# the presets (CMakePresets.json) install nothing.
deps:
	@scripts/install-deps.sh play
deps-%:
	@scripts/install-deps.sh $*

# Every configuration is a preset of CMakePresets.json (`cmake --list-presets=all`);
# each target here is one call of one.
configure:
	cmake --preset default $(CMAKE_FLAGS)

# Everything: the game, the tests and their tools.
build: configure
	cmake --build --preset default

# The game alone, with its files beside it: no tests.
game: deps configure
	cmake --build --preset default --target rapiko

# Full screen on the desktop; a mouse click or Esc ends the game.
play: game
	build/src/rapiko

# The online ranking's server, build/server/rapiko-server (docs/server.md), with the
# libraries it links installed first.
server: deps-server configure
	cmake --build --preset default --target rapiko-server

# The server alone, built for release, into $(PREFIX)/bin (DESTDIR= for a staging folder).
install-server: deps-server
	cmake --preset package && cmake --build --preset package --target rapiko-server
	DESTDIR="$(DESTDIR)" cmake --install build-package --component server --prefix "$(PREFIX)"

play-window: game
	build/src/rapiko --window

test: deps-test
	cmake --workflow --preset default

# Rewrites the tests/golden/*.expected.json that the current game changes, and names them;
# read the diff.
golden-update: build
	@RAPIKO_UPDATE_GOLDEN=1 build/tests/test_golden --gtest_brief=1 --gtest_filter='Golden.*' \
	  | { grep -v '^Running main\|^\[==========\]\|^\[  PASSED  \]' || echo "no expected file changed"; }

# The program `make package` packages, installed under PREFIX (default
# /usr/local); DESTDIR stages the install elsewhere.
install: deps-package
	cmake --preset package && cmake --build --preset package
	DESTDIR="$(DESTDIR)" cmake --install build-package --prefix "$(PREFIX)"

# Installs into a scratch folder and validates what it installed.
install-check: deps-ci
	cmake --preset package && cmake --build --preset package
	scripts/install-check.sh build-package

# A Debian package of the same files, installed under /usr.
package: deps-package
	cmake --workflow --preset package
	@ls build-package/*.deb

# The Windows program, cross-built with Debian's mingw-w64 (the libraries it
# links built first from Debian's sources, once), and beside it its portable
# zip and its installer.
windows: deps-windows
	scripts/port-libraries.sh cmake/mingw-w64-x86_64.cmake build-windows
	cmake --preset windows && cmake --build --preset windows

# The Windows program under Wine: its own tests, every golden game through it,
# compared as on Linux, the real window; its packages, and the installer's
# silent install and uninstall.
test-windows: deps-windows deps-test
	scripts/port-libraries.sh cmake/mingw-w64-x86_64.cmake build-windows
	cmake --workflow --preset windows

# The game built without SDL (scripted runs only) through every golden game, and
# a check that its program links no SDL library.
test-nosdl: deps-test
	cmake --workflow --preset nosdl

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps-test
	cmake --workflow --preset sanitize

bench-build: deps-bench
	cmake --workflow --preset bench

bench: bench-build
	bench/run.sh build-bench

# The real window under Xvfb at three screen sizes, beside the floor program;
# BENCH_RUNS runs of BENCH_SECONDS per figure (about two and a half minutes a
# run), and BENCH_PRESSES key presses a run for each key-to-picture figure.
BENCH_RUNS ?= 5
BENCH_SECONDS ?= 8
BENCH_PRESSES ?= 30
# A window manager to run on the benchmark's screen (icewm, say), as players have.
BENCH_WM ?=
bench-window: bench-build
	bench/window.sh build-bench --runs $(BENCH_RUNS) --seconds $(BENCH_SECONDS) \
	  --presses $(BENCH_PRESSES) $(if $(BENCH_WM),--wm $(BENCH_WM))

# The page in headless Chromium at 1280 x 960: its load and first picture, then
# pictures a second and CPU over BENCH_SECONDS of play, BENCH_RUNS runs each.
bench-web: web tests/web/node_modules/.package-lock.json
	node bench/web_page_load.mjs build-web/site --runs $(BENCH_RUNS)
	node bench/web_play.mjs build-web/site --runs $(BENCH_RUNS) --seconds $(BENCH_SECONDS)

# Fuzz each reader for FUZZ_SECONDS (default 600).
FUZZ_SECONDS ?= 600
fuzz: deps-fuzz
	cmake --workflow --preset fuzz
	fuzz/run.sh build-fuzz $(FUZZ_SECONDS)

fuzz-ci:
	$(MAKE) fuzz FUZZ_SECONDS=60

# The game for the web, with Debian's emscripten and the libraries it links built
# from Debian's sources: build-web/node/rapiko.js runs scripted runs under Node,
# build-web/site/ is the page.
web: deps-web
	scripts/port-libraries.sh cmake/emscripten.cmake build-web
	cmake --preset web && cmake --build --preset web

# The page on this machine only: http://127.0.0.1:$(WEB_PORT)/
serve: web
	node scripts/serve_site.mjs build-web/site $(WEB_PORT)

# Every golden game run by the Node build through the same golden test, byte for byte;
# then the page in headless Chromium (tests/web/).
test-web: deps-web deps-test
	scripts/port-libraries.sh cmake/emscripten.cmake build-web
	cmake --workflow --preset web

tests/web/node_modules/.package-lock.json: tests/web/package-lock.json
	cd tests/web && npm ci --no-audit --no-fund

SOURCES = $(shell git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'web/*.cpp' \
                    'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' 'server/*.cpp' 'server/*.h')

format:
	clang-format -i $(SOURCES)

format-check: deps-ci
	clang-format --dry-run --Werror $(SOURCES)

# What CI runs.
ci: format-check test test-nosdl install-check test-windows test-web test-sanitize fuzz-ci

clean:
	rm -rf build build-nosdl build-sanitize build-bench build-fuzz build-package build-windows build-web
