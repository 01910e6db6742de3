# The everyday commands. Each build lives in its own folder under build/.
#   make run    play the demo title in a window (ARGS="GAME_FOLDER" plays another title)
#   make config the settings dialog on the game.ini the demo reads (the one beside the player)
#   make test   install what is missing, build with sanitizers, run every test
#   make test-release  the same tests in an optimised build (-O3, no sanitizers), as CI runs them
#   make bench  build optimised and run the benchmarks
#   make fuzz   build with clang's libFuzzer and fuzz each target for FUZZ_SECONDS

JOBS ?= $(shell nproc)
# ccache hits across clones: paths below the checkout are hashed relative to it.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
FUZZ_SECONDS ?= 60
CMAKE_COMMON := -G Ninja -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
# Warnings are errors in the test builds, where the project's developers and CI look at them.
CMAKE_TESTS := $(CMAKE_COMMON) -DKEST_WERROR=ON

.PHONY: all deps run config test test-release bench fuzz clean

all: test

deps:
	@scripts/install-deps

build/test/build.ninja: | deps
	cmake -S . -B build/test $(CMAKE_TESTS) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DKEST_SANITIZE=ON

build/release/build.ninja: | deps
	cmake -S . -B build/release $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DKEST_TESTS=OFF -DKEST_BENCH=ON

build/fuzz/build.ninja: | deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKEST_TESTS=OFF -DKEST_SANITIZE=ON -DKEST_FUZZ=ON

test: deps build/test/build.ninja
	cmake --build build/test -j $(JOBS)
	cd build/test && ctest --output-on-failure -j $(JOBS)

# Optimisation-only warnings and faults show here before they land.
build/release-tests/build.ninja: | deps
	cmake -S . -B build/release-tests $(CMAKE_TESTS) -DCMAKE_BUILD_TYPE=Release -DKEST_TESTS=ON

test-release: deps build/release-tests/build.ninja
	cmake --build build/release-tests -j $(JOBS)
	cd build/release-tests && ctest --output-on-failure -j $(JOBS)

run: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS)
	build/release/src/shell/kestplayer $(ARGS)

config: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS)
	build/release/src/shell/kestplayer --config $(ARGS)

bench: deps build/release/build.ninja
	cmake --build build/release -j $(JOBS)
	@for program in build/release/bench/bench_*; do echo "== $$program"; $$program || exit 1; done

fuzz: deps build/fuzz/build.ninja
	cmake --build build/fuzz -j $(JOBS)
	@for fuzzer in build/fuzz/fuzz/fuzz_*; do \
	  name=$${fuzzer##*/fuzz_}; corpus=build/fuzz/corpus/$$name; \
	  build/fuzz/fuzz/replay_$$name --write-seeds $$corpus || exit 1; \
	  echo "== fuzzing $$name for $(FUZZ_SECONDS) s"; \
	  $$fuzzer $$corpus fuzz/corpus/$$name -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 || exit 1; \
	done

clean:
	rm -rf build
