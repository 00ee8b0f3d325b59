# Front door for building, testing, fuzzing and measuring kwfilter.
JOBS ?= 2
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=
PREFIX ?= /usr/local

.PHONY: all deps configure build run test test-asan fuzz bench install host-check clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null

build: configure
	cmake --build build -j $(JOBS)

# Only what it runs: the library and the program, not the tests.
run: configure
	cmake --build build -j $(JOBS) --target kwfilter_cli
	./build/kwfilter demo demo-out

test: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKW_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKW_FUZZ=ON -DKW_TESTS=OFF -DKW_TOOLS=OFF $(CMAKE_FLAGS) >/dev/null
	cmake --build build-fuzz -j $(JOBS)
	scripts/run-fuzz build-fuzz $(FUZZ_SECONDS)

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKW_BENCH=ON -DKW_TESTS=OFF -DKW_TOOLS=OFF $(CMAKE_FLAGS) >/dev/null
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench_*; do echo "== $$b"; $$b --benchmark_min_time=0.2 || exit 1; done

# Installs the library, its public headers, the program, the CMake package and kwfilter.pc.
install: deps
	cmake -S . -B build-install -G Ninja -DCMAKE_BUILD_TYPE=Release -DKW_TESTS=OFF -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS) >/dev/null
	cmake --build build-install -j $(JOBS)
	cmake --install build-install

# Builds and runs examples/host against an install (static and shared), through
# add_subdirectory and through pkg-config.
host-check: deps
	JOBS=$(JOBS) scripts/host-check

clean:
	rm -rf build build-asan build-fuzz build-bench build-install demo-out
