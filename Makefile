# Set-up and everyday commands. `make run` and `make test` install what they need first.
BUILD      ?= build
TEST_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja


.PHONY: all deps build run deckwright test test-build bench fuzz format clean

all: build

deps:
	@scripts/deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPATIENCE_TESTS=OFF

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/Patience

# The card-set maker (it starts once the game has been run and has made its data folder).
deckwright: build
	$(BUILD)/bin/Deckwright

$(TEST_BUILD)/build.ninja:
	cmake -S . -B $(TEST_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DPATIENCE_SANITIZE=ON -DPATIENCE_TESTS=ON

test-build: deps $(TEST_BUILD)/build.ninja
	cmake --build $(TEST_BUILD) -j $(JOBS)

# The tests run in the sanitized tree. The program folder build/bin/ is built too (the Patience program
# and everything generated beside it: card sets, sounds and the rest), so a test run leaves a usable
# program folder behind.
test: test-build $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS) --target program_folder
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
	  ctest --output-on-failure -j $(JOBS) --timeout 600

bench: build
	scripts/bench.sh $(BUILD)

# Every reader under libFuzzer with the sanitizers, FUZZ_SECONDS each, from the generated seeds;
# fails on any finding (the input is kept under $(FUZZ_BUILD)/fuzz/findings/).
$(FUZZ_BUILD)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DPATIENCE_FUZZ=ON \
	  -DPATIENCE_TESTS=OFF -DPATIENCE_BENCHMARKS=OFF

fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all
	scripts/fuzz.sh $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(FUZZ_BUILD)
