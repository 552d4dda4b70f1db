# Thin wrapper over CMake + Ninja.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= 2

.PHONY: all deps configure build run test bench sanitize fuzz screenshot clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./vorlac

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

bench: build
	@set -e; for b in $$(find $(BUILD)/bench -maxdepth 1 -type f -name 'bench_*' -perm -u+x | sort); do \
	  echo "== $$b"; $$b --benchmark_min_time=0.2; done

sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DVORLAC_SANITIZE=ON -DVORLAC_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) --timeout 600

fuzz:
	@scripts/install-deps --fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DVORLAC_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

screenshot: build
	@scripts/install-deps --screenshots
	scripts/screenshot $(BUILD)/vorlac vorlac.png

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
