# The two commands of the README. Both install missing Debian packages first.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build test demo clean fuzz

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure

demo: build
	scripts/demo.sh $(BUILD)

# libFuzzer targets, FUZZ_SECONDS (default 60) each; not part of test.
fuzz:
	scripts/fuzz.sh

clean:
	rm -rf $(BUILD)
