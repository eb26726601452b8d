# Set-up and everyday commands. `make run` and `make test` install what they need first.
BUILD      ?= build
TEST_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20
FUZZ_TARGETS ?=
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
# Warnings are errors in the test tree, and in CI (.ci/run sets CI=1) in the program tree too. `make WERROR=OFF test`
# builds the test tree without.
WERROR     ?= ON
BUILD_WERROR := $(if $(CI),ON,)
CLANG_BUILD ?= build-clang

# configure DIR, FLAGS, WERROR: runs cmake when DIR has no build files yet or when its warnings-as-errors setting is
# not WERROR, so an already configured tree picks the setting up. An empty WERROR keeps whatever DIR has.
define configure
	@if [ ! -f $(1)/build.ninja ] || { [ -n "$(3)" ] && ! grep -qx 'PATIENCE_WERROR:BOOL=$(3)' $(1)/CMakeCache.txt; }; \
	then set -x; $(4) cmake -S . -B $(1) $(CMAKE_GEN) $(2) $(if $(3),-DPATIENCE_WERROR=$(3)); fi
endef

.PHONY: all deps deps-run configure-build configure-test build run deckwright test test-build bench fuzz format \
        format-check tidy clang-build clean

all: build

# What building and running the programs needs (deps-run), and that with what the tests, fuzzers,
# benchmarks and linters add (deps).
deps-run:
	@scripts/deps.sh run

deps:
	@scripts/deps.sh all

configure-build:
	$(call configure,$(BUILD),-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPATIENCE_TESTS=OFF,$(BUILD_WERROR))

build: deps-run configure-build
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/Patience

# The card-set maker (it starts once the game has been run and has made its data folder).
deckwright: build
	$(BUILD)/bin/Deckwright

configure-test:
	$(call configure,$(TEST_BUILD),-DCMAKE_BUILD_TYPE=Debug -DPATIENCE_SANITIZE=ON -DPATIENCE_TESTS=ON,$(WERROR))

test-build: deps configure-test
	cmake --build $(TEST_BUILD) -j $(JOBS)

# The tests run in the sanitized tree. The program folder build/bin/ is built too (the Patience program
# and everything generated beside it: card sets, sounds and the rest), so a test run leaves a usable
# program folder behind.
test: test-build configure-build
	cmake --build $(BUILD) -j $(JOBS) --target program_folder
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

# The benchmarks need Google Benchmark: the tree is configured again once it is installed.
bench: deps configure-build
	cmake $(BUILD) > /dev/null
	cmake --build $(BUILD) -j $(JOBS)
	scripts/bench.sh $(BUILD)

# Every reader under libFuzzer with the sanitizers, FUZZ_SECONDS each, from the generated seeds;
# fails on any finding (the input is kept under $(FUZZ_BUILD)/fuzz/findings/). FUZZ_TARGETS names
# some of them only (helpfile updateinfo, say).
$(FUZZ_BUILD)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DPATIENCE_FUZZ=ON \
	  -DPATIENCE_TESTS=OFF -DPATIENCE_BENCHMARKS=OFF

fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all
	scripts/fuzz.sh $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS) $(FUZZ_TARGETS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Fails when a tracked source differs from .clang-format (`make format` mends it).
format-check: deps
	git ls-files -z '*.cpp' '*.h' | xargs -0 -n 40 -P $(JOBS) clang-format --dry-run -Werror

# clang-tidy (.clang-tidy) over the sources changed since TIDY_BASE, or over every source without one; needs the
# compile database of the test tree.
tidy: test-build
	JOBS=$(JOBS) scripts/tidy.sh $(TEST_BUILD) $(TIDY_BASE)

# The whole tree, tests included, compiled once more with clang and warnings as errors (nothing is run).
clang-build: deps
	$(call configure,$(CLANG_BUILD),-DCMAKE_BUILD_TYPE=None -DPATIENCE_TESTS=ON -DPATIENCE_BENCHMARKS=ON,ON,CC=clang CXX=clang++)
	cmake --build $(CLANG_BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(FUZZ_BUILD) $(CLANG_BUILD)
