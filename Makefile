# The two commands a newcomer needs: `make play` and `make test`.
# Both install what is missing (scripts/install-deps.sh), configure and build.
# `make test SANITIZE=1` runs the same tests in a sanitizer build of its own.

ifeq ($(SANITIZE),1)
BUILD ?= build-sanitize
CMAKE_OPTIONS += -DSANITIZE=ON
else
BUILD ?= build
endif

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# The fuzz build: clang, libFuzzer and the sanitizers, the harnesses only.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?= 10000000
FUZZ_HARNESSES ?=
export FUZZ_HARNESSES

.PHONY: all deps configure build play test bench bench-game bench-cpu soak leakcheck fuzz-build fuzz fuzz-long pictures package test-package windows windows-zip test-windows clean

all: build

deps:
	@sh scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then \
		cmake -S . -B $(BUILD) -G Ninja $(CMAKE_OPTIONS); \
	fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

play: build
	$(BUILD)/tessaline

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/tessaline-bench

# The real game under Xvfb: CPU share on the title and in a fight, peak
# memory, time to the first frame (`make bench-game BENCH_SECONDS=20`).
BENCH_SECONDS ?= 10
bench-game: build
	bash bench/real_game.sh $(BUILD) $(BENCH_SECONDS)

# The computer against three scripted players, 50 matches a level and
# script: win rates and frames to a result, as the README's table.
bench-cpu: build
	sh bench/computer.sh $(BUILD) 50

# Random play by both players from a seed: `make soak FRAMES=100000 SEED=7`
# (with SANITIZE=1 in the sanitizer build); CPU=1 has two computers play.
FRAMES ?= 20000
SEED ?= 1
ifeq ($(CPU),1)
SOAK_TEST = Soak.TwoComputers*
else
SOAK_TEST = Soak.RandomPlay*
endif
soak: build
	TESSALINE_SOAK_FRAMES=$(FRAMES) TESSALINE_SOAK_SEED=$(SEED) \
		$(BUILD)/tests/test_hardening --gtest_filter='$(SOAK_TEST)'

# The replay tool and the real game under valgrind; fails on a definite leak
# or a memory error in the game's own code. Valgrind runs the plain build
# only: a sanitizer build has a memory checker of its own.
leakcheck:
ifeq ($(SANITIZE),1)
	@echo "make leakcheck runs the plain build; leave out SANITIZE=1" >&2; exit 2
endif
	$(MAKE) build
	sh tests/valgrind/leakcheck.sh $(BUILD)

# The README's pictures in docs/, drawn by the replay tool from
# docs/pictures.input; a test fails until they are remade and committed
# after a change to what the game draws.
pictures: build
	sh docs/pictures.sh $(BUILD)/tessaline-replay $(BUILD)/data docs

# The Debian package, $(BUILD)/tessaline_<version>_<arch>.deb. The build is
# configured for /usr, where the package installs and where the game then
# looks for its data.
package: configure
ifeq ($(SANITIZE),1)
	@echo "make package packs the plain build; leave out SANITIZE=1" >&2; exit 2
endif
	cmake -S . -B $(BUILD) -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && cpack

# The package as a user gets it (as root: CI): lintian, apt-get install,
# the installed game started from the menu's command, apt-get remove.
test-package: package
	sh tests/package/deb.sh $(BUILD)

# The Windows game, cross-compiled with MinGW-w64 into $(WINDOWS_BUILD);
# its data is made by the native build's data maker. A Release build: the
# frames are the same in every build type, and without debug information
# the cross build is quicker.
WINDOWS_BUILD ?= build-windows
windows: build
	@if [ ! -f $(WINDOWS_BUILD)/build.ninja ]; then \
		cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
			-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
			-DTESSALINE_NATIVE_BUILD=$(abspath $(BUILD)); \
	fi
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# $(WINDOWS_BUILD)/tessaline-<version>-win64.zip: the game, its data, the
# README and the licence, to unpack anywhere on Windows.
windows-zip: windows
	cmake --build $(WINDOWS_BUILD) --target windows-zip

# The Windows build's tests under Wine: the core tests, the frames of the
# recorded runs, and the game in a window under Xvfb.
test-windows: windows
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure -j $(JOBS)

fuzz-build: deps
	@if [ ! -f $(FUZZ_BUILD)/build.ninja ]; then \
		cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DFUZZ=ON; \
	fi
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Every harness for FUZZ_SECONDS; any finding fails.
fuzz: fuzz-build
	sh fuzz/run.sh $(FUZZ_BUILD) -max_total_time=$(FUZZ_SECONDS)

# Every harness for FUZZ_RUNS inputs, with its figures.
fuzz-long: fuzz-build
	sh fuzz/run.sh $(FUZZ_BUILD) -runs=$(FUZZ_RUNS)

clean:
	rm -rf build build-sanitize $(FUZZ_BUILD) $(WINDOWS_BUILD)
