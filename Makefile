# orbe: make demo | make test | make bench | make deps
# Every target installs what is missing first, so a fresh Debian 12 machine
# needs nothing but make and this checkout.

SHELL := /bin/bash
BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_FUZZ  ?= build-fuzz
FUZZ_SECONDS ?= 5
CMAKE_FLAGS ?=
# CI (.ci/run sets CI=true) builds every configuration with warnings as errors.
WERROR := $(if $(CI),-DORBE_WERROR=ON,)

PACKAGES := cmake ninja-build lld g++ clang libclang-rt-14-dev zlib1g-dev libtinyxml2-dev nettle-dev \
            uuid-dev libsqlite3-dev libpq-dev postgresql libpython3.11-dev python3 libgtest-dev libgmock-dev libbenchmark-dev pkg-config libxlsxwriter-dev libicu-dev chromium fonts-wqy-microhei libcli11-dev libcpp-httplib-dev nodejs

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build test unit asan fuzz bench demo clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "installing:" $$missing; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
	@# The browser tests drive Debian's chromium through npm's playwright-core (no browser download).
	@# Debian's nodejs comes without npm (Debian's npm package adds it); a node that brings its own
	@# npm keeps it. Only when neither works are the browser tests skipped.
	@command -v npm >/dev/null || DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq npm || true
	@[ -d tests/browser/node_modules/playwright-core ] || ! command -v npm >/dev/null || \
	  npm install --prefix tests/browser --no-audit --no-fund --no-package-lock --loglevel=error

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(WERROR) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	ninja -C $(BUILD)

unit: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

asan: deps
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DORBE_SANITIZE=ON -DORBE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug $(WERROR)
	ninja -C $(BUILD_ASAN)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(BUILD_ASAN) --output-on-failure -j2

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DORBE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo $(WERROR)
	ninja -C $(BUILD_FUZZ)
	scripts/fuzz-smoke $(BUILD_FUZZ)/bin $(FUZZ_SECONDS)

# ctest, the same tests under ASan/UBSan, then a short run of every fuzzer.
test: unit asan fuzz

bench: build
	@for b in $(BUILD)/bin/*_bench; do echo "== $$b"; $$b --benchmark_min_time=0.2 || exit 1; done

demo: build
	scripts/demo $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ)
