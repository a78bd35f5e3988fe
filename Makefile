# Capzel: `make run` and `make test` do all the set-up on a fresh Debian 12
# machine (they install the packages that are missing, then build).
#
#   make run         build and start the game
#   make test        build and run every test (SAN=1: with ASan + UBSan; WERROR=1:
#                    warnings are errors, as in CI)
#   make bench       engine benchmarks (Google Benchmark)
#   make bench-ui    animation, idle and game-history figures under Xvfb
#   make web         the web client: the core in WebAssembly and its page (build/web)
#   make bench-web   the page's size, first paint and frames per second in headless Chromium
#   make bench-server  the online server at scale and under attack, beside a bare relay
#   make fuzz        fuzz the saved-game reader (FUZZ_SECONDS=600; FUZZ=protocol: the online messages)
#   make install     install under PREFIX (default /usr/local)
#   make package     a Debian package (capzel_<version>_<arch>.deb in the build folder)

SAN ?= 0
WERROR ?= 0
BUILD_TYPE ?= Release
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
# Which reader `make fuzz` fuzzes: savefile (saved games) or protocol (online messages).
FUZZ ?= savefile
FUZZ_SEEDS_savefile = tests/data/saves
FUZZ_DICT_savefile = -dict=tests/fuzz/savefile.dict
FUZZ_SEEDS_protocol = tests/fuzz/protocol_seeds
FUZZ_DICT_protocol = -dict=tests/fuzz/protocol.dict

ifeq ($(SAN),1)
BUILD_DIR ?= build-san
CMAKE_FLAGS = -DCAPZEL_SAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
else
BUILD_DIR ?= build
CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
endif
ifeq ($(WERROR),1)
WERROR_FLAG = -DCAPZEL_WERROR=ON
else
WERROR_FLAG = -DCAPZEL_WERROR=OFF
endif
CMAKE_FLAGS += $(WERROR_FLAG)
# Rebuilds of the same sources (other checkouts, the sanitizer build after a
# clean) come from the compiler cache when one is installed.
ifneq ($(shell command -v ccache 2>/dev/null),)
LAUNCHER = -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
endif
CMAKE_FLAGS += $(LAUNCHER)

# The window-free core and capzel-sim built a second time, by clang with
# libc++, in a build folder of its own with no Qt: make test checks that it
# plays every recorded shot to the same bits (tests/scripts/same_bits.sh).
CLANG_DIR = $(BUILD_DIR)/clang-core
CLANG_FLAGS = -DCAPZEL_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Release $(WERROR_FLAG) $(LAUNCHER) \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_FLAGS=-stdlib=libc++

PACKAGES = cmake ninja-build g++ pkg-config qt6-base-dev qt6-charts-dev qt6-websockets-dev libfluidsynth-dev libasound2-dev \
           timgm6mb-soundfont nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev \
           xvfb xauth xdotool libx11-dev x11-utils imagemagick fonts-dejavu-core \
           clang libclang-rt-14-dev libc++-dev libc++abi-dev desktop-file-utils appstream dpkg-dev openbox \
           stress-ng emscripten nodejs chromium chromium-driver python3-selenium openssl
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build core-clang web run test bench bench-ui bench-web bench-server fuzz install package clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -o DPkg::Lock::Timeout=300 && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -o DPkg::Lock::Timeout=300 $$missing; \
	fi

# Configured again whenever the flags differ from the last configuration's
# (WERROR=1 on a build folder made without it).
configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ] || [ "$$(cat $(BUILD_DIR)/capzel-flags 2>/dev/null)" != "$(CMAKE_FLAGS)" ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) && echo "$(CMAKE_FLAGS)" >$(BUILD_DIR)/capzel-flags; \
	fi

build: configure
	cmake --build $(BUILD_DIR)

core-clang: deps
	@if [ ! -f $(CLANG_DIR)/build.ninja ] || [ "$$(cat $(CLANG_DIR)/capzel-flags 2>/dev/null)" != "$(CLANG_FLAGS)" ]; then \
	  cmake -S . -B $(CLANG_DIR) -G Ninja $(CLANG_FLAGS) >/dev/null && echo "$(CLANG_FLAGS)" >$(CLANG_DIR)/capzel-flags; \
	fi
	cmake --build $(CLANG_DIR)

# The page and its WebAssembly core, beside the programs (the server finds
# it there); the first build of Emscripten's own libraries takes minutes.
web: configure
	bash tools/build-web.sh $(BUILD_DIR)

run: build
	./$(BUILD_DIR)/bin/capzel

test: build core-clang web
	@# Five at once: the real-window tests spend most of their time waiting.
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j5

bench: build
	./$(BUILD_DIR)/bin/capzel_bench --benchmark_counters_tabular=true

bench-ui: build
	bash tools/bench-ui.sh $(BUILD_DIR)/bin

bench-web: build web
	/usr/bin/python3 tools/bench-web.py --build $(BUILD_DIR)

bench-server: build
	bash tools/bench-server.sh $(BUILD_DIR)/bin

fuzz: deps
	cmake -S . -B build-fuzz -G Ninja -DCAPZEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
	cmake --build build-fuzz --target fuzz_$(FUZZ)
	mkdir -p build-fuzz/corpus-$(FUZZ)
	./build-fuzz/bin/fuzz_$(FUZZ) build-fuzz/corpus-$(FUZZ) $(FUZZ_SEEDS_$(FUZZ)) $(FUZZ_DICT_$(FUZZ)) \
	  -max_total_time=$(FUZZ_SECONDS)

install: build web
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

package: build web
	cd $(BUILD_DIR) && cpack

clean:
	rm -rf build build-san build-fuzz
