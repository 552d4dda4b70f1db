# Thin wrapper over CMake + Ninja.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= 2

.PHONY: all deps test-deps configure build run test test-french bench sanitize fuzz screenshot package clean

all: build

# What the program needs; the tests and benchmarks bring theirs with `make test`.
deps:
	@scripts/install-deps

test-deps:
	@scripts/install-deps --tests

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only the program: no tests, benchmarks or their packages.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target vorlac
	cd $(BUILD) && ./vorlac

# Configures again so that a build folder first made by `make run` finds GoogleTest.
test: test-deps configure
	cmake -S . -B $(BUILD) -G Ninja
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS) --timeout 300

# The suite again on a French desktop's locale (decimal comma in the C library), built by `make test`.
test-french:
	cd $(BUILD) && LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 ctest --output-on-failure --no-tests=error -j $(JOBS) --timeout 300

bench: test-deps configure
	cmake -S . -B $(BUILD) -G Ninja
	cmake --build $(BUILD) -j $(JOBS)
	@set -e; for b in $$(find $(BUILD)/bench -maxdepth 1 -type f -name 'bench_*' -perm -u+x | sort); do \
	  echo "== $$b"; $$b --benchmark_min_time=0.2; done

sanitize: test-deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DVORLAC_SANITIZE=ON -DVORLAC_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure --no-tests=error -j $(JOBS) --timeout 600

fuzz:
	@scripts/install-deps --fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DVORLAC_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

screenshot: configure
	@scripts/install-deps --screenshots
	cmake --build $(BUILD) -j $(JOBS) --target vorlac
	scripts/screenshot $(BUILD)/vorlac vorlac.png

# The Debian package, checked: installed into a scratch root, validated and started.
package:
	scripts/check-package $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
