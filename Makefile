# The two commands of the README. Both install missing Debian packages first.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build test demo package clean fuzz soak bench mutate windows windows-test

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD)

# The suite runs twice: as built for use, and built with AddressSanitizer and
# UndefinedBehaviorSanitizer, where any report fails the test that caused it.
SANITIZE_BUILD := build-sanitize
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

test: build
	ctest --test-dir $(BUILD) --output-on-failure
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZARN_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD)
	$(SANITIZE_ENV) ctest --test-dir $(SANITIZE_BUILD) --output-on-failure

demo: build
	scripts/demo.sh $(BUILD)

# The Debian package $(BUILD)/zarn-tool_<version>_amd64.deb, made by CPack from the build for use.
package: build
	cmake --build $(BUILD) --target package

# libFuzzer targets, FUZZ_SECONDS (default 60) each; not part of test. Their corpora are
# replayed by the suite in both builds of test.
fuzz:
	scripts/fuzz.sh

# Plants the faults of scripts/mutants.txt one at a time in a copy of the tree (build-mutate)
# and names those the suite misses; not part of test. MUTATE_ONLY=id,... and MUTATE_FULL=1.
mutate: deps
	scripts/mutate.sh

# Not part of test: minutes of transfers against a simulator that loses, spoils and splits
# answers (SOAK_SECONDS, default 180), and the performance figures of docs/performance.md.
soak: deps
	scripts/soak.sh build-perf

bench: deps
	scripts/bench.sh build-perf

# The Windows tool, cross-built: build-win/zarn-tool-<version>-win64.zip and -setup.exe. Qt for
# Windows is built once (about 25 minutes) into a cache outside the tree. Not part of test.
windows:
	scripts/windows/build.sh

# The Windows tool under Wine against the simulator, with a pseudo-terminal as COM1. Not part of
# test.
windows-test: build windows
	scripts/windows/test.sh

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
