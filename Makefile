# Front door for building, testing, fuzzing and measuring kwfilter.
JOBS ?= 2
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=

.PHONY: all deps build run test test-asan fuzz bench clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	cmake --build build -j $(JOBS)

run: build
	./build/kwfilter demo demo-out

test: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKW_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKW_FUZZ=ON -DKW_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	cmake --build build-fuzz -j $(JOBS)
	scripts/run-fuzz build-fuzz $(FUZZ_SECONDS)

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKW_BENCH=ON -DKW_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench_*; do echo "== $$b"; $$b --benchmark_min_time=0.2 || exit 1; done

clean:
	rm -rf build build-asan build-fuzz build-bench demo-out
