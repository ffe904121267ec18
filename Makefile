# Convenience targets; each installs missing Debian packages first, then
# configures and builds with CMake.
JOBS       ?= 2
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

empty :=
space := $(empty) $(empty)

.PHONY: all deps build build-run run test test-asan test-tsan bench fuzz clean

# What `make run` starts: the editor, the command-line tool, the virtual
# printer and the program folder (no test programs).
RUN_TARGETS = glyphane glyphane-cli glyphane-printer glyphane_data

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

build-run: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS) --target $(RUN_TARGETS)

run: build-run
	@scripts/run-editor $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DGLYPHANE_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

# The worker-thread tests under ThreadSanitizer: the transfer and its job,
# printing stored logos, the serial components and the platform events.
# Suppressions: tests/tsan.supp.
# One test at a time: they run in line time, and the instrumented code is slow
# enough that two of them side by side on a small machine miss their deadlines.
TSAN_TESTS = test_transfer test_transfer_job test_print_logo test_fault_matrix test_serial test_platform
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHANE_TSAN=ON
	cmake --build $(TSAN_BUILD) -j$(JOBS) --target $(TSAN_TESTS)
	cd $(TSAN_BUILD) && ctest --output-on-failure -R '^($(subst $(space),|,$(TSAN_TESTS)))$$'

# The references the benchmarks measure beside the program: Pillow's
# conversion, ImageMagick's convert command and mtPaint's start (with a
# session bus of its own, as on a desktop).
BENCH_PACKAGES = python3-pil imagemagick mtpaint dbus-daemon
bench: deps
	@scripts/install-deps $(BENCH_PACKAGES)
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DGLYPHANE_BENCH=ON
	cmake --build $(BENCH_BUILD) -j$(JOBS) --target glyphane-bench
	$(BENCH_BUILD)/bin/glyphane-bench

# The fuzz targets (fuzz/, docs/fuzzing.md), built by clang with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer in their own build folder,
# each run for FUZZ_SECONDS; fails on any finding (kept in
# $(FUZZ_BUILD)/fuzz-findings/). Only the libraries the targets need are built.
FUZZ_PACKAGES = clang libclang-rt-dev
FUZZ_TARGETS = fuzz_bmp fuzz_picture fuzz_cfg_parser fuzz_cfg_app fuzz_cfg_prn fuzz_printer_info fuzz_psw \
               fuzz_block_reply fuzz_transfer
fuzz: deps
	@scripts/install-deps $(FUZZ_PACKAGES)
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DGLYPHANE_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(FUZZ_TARGETS)
	fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
