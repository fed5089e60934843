# orvo: `make run` opens the window, `make test` runs every test,
# `make compare-modes PROGRAMS=n` runs n generated programs in the fast and
# the reference mode and compares them,
# `make sanitize` runs the engine tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, `make tsan` runs preprocessing runs on several
# threads at once under ThreadSanitizer, `make fuzz FUZZ_SECONDS=n` fuzzes the
# preprocessing run for n seconds, then for FUZZ_PLAIN_SECONDS (30) compares
# runs in the fast and the reference mode on fuzzed input, then for
# FUZZ_COMPARE_SECONDS (30) runs both engines and their comparison
# (0 skips it). `make install PREFIX=dir` installs the
# programs, manual pages, desktop entry and icons below dir (default
# /usr/local); `make package` builds a Debian package in the build directory.
# Each installs what is missing (Debian packages), configures and builds first.

BUILD_DIR ?= build
PACKAGES := cmake ninja-build g++ make libboost-regex-dev libboost-filesystem-dev \
            libgtest-dev libbenchmark-dev qt6-base-dev nlohmann-json3-dev \
            libqscintilla2-qt6-dev desktop-file-utils dpkg-dev file man-db python3 \
            libclang-14-dev libclang-cpp14-dev llvm-14-dev ccache
FUZZ_PACKAGES := clang libclang-rt-14-dev
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

SANITIZE_DIR ?= build-asan
TSAN_DIR ?= build-tsan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PLAIN_SECONDS ?= 30
FUZZ_CORPUS ?= $(FUZZ_DIR)/corpus
# A corpus of its own: the first harness's finds include inputs that run
# for seconds under the sanitizers when every token is scanned.
FUZZ_PLAIN_CORPUS ?= $(FUZZ_DIR)/plain-corpus
# Both engines and their comparison: the standard-C engine's finds are its own.
# CI's minute of fuzzing leaves it out (building the standard-C module under
# the sanitizers costs CI minutes it does not have).
FUZZ_COMPARE_SECONDS ?= $(if $(CI),0,30)
FUZZ_COMPARE_CORPUS ?= $(FUZZ_DIR)/compare-corpus
FUZZ_ARTIFACTS ?= $(FUZZ_DIR)/artifacts/
FUZZ_FLAGS := -max_len=65536 -timeout=10 -rss_limit_mb=2048
PREFIX ?= /usr/local
# Tests run on every core; they share nothing but the build directory.
JOBS ?= $(shell nproc)
# ccache (used when installed) names files relative to the checkout, so a
# fresh clone reuses what an earlier clone compiled from the same sources.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

.PHONY: all deps fuzz-deps configure build run test compare-modes install package sanitize tsan fuzz clean

all: build

# $(call install-missing,packages): installs those not yet installed.
define install-missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

fuzz-deps: deps
	$(call install-missing,$(FUZZ_PACKAGES))

configure: deps
	@[ -f $(BUILD_DIR)/build.ninja ] || cmake -S . -B $(BUILD_DIR) -G Ninja

build: configure
	cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/bin/orvo

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Generated programs run in the fast and the reference mode; any difference
# in output, error or message fails (make test runs 10000 of them).
PROGRAMS ?= 100000
compare-modes: build
	ORVO_BOTH_WAYS_PROGRAMS=$(PROGRAMS) $(BUILD_DIR)/bin/macro_plain_token_run_test \
	  --gtest_filter='*RandomProgramsGiveTheSameResultBothWays*'

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

package: build
	cd $(BUILD_DIR) && cpack

# The engine and its tests, without the window and the benchmarks; optimised
# a little and with line tables only, which keeps the build short and the
# sanitizer reports readable.
sanitize: deps
	@[ -f $(SANITIZE_DIR)/build.ninja ] || cmake -S . -B $(SANITIZE_DIR) -G Ninja \
	  -DORVO_SANITIZE=ON -DORVO_BUILD_GUI=OFF -DORVO_BUILD_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1"
	cmake --build $(SANITIZE_DIR)
	cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Only the test that runs the engine on several threads at once: the live
# preview's worker thread and the window share the engine's tables. Nothing
# is suppressed: Boost.Regex's block cache, which ThreadSanitizer cannot see
# into, gives way to new and delete in that build
# (tests/support/TsanRegexBlocks.cpp).
tsan: deps
	@[ -f $(TSAN_DIR)/build.ninja ] || cmake -S . -B $(TSAN_DIR) -G Ninja \
	  -DORVO_TSAN=ON -DORVO_BUILD_GUI=OFF -DORVO_BUILD_BENCH=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1"
	cmake --build $(TSAN_DIR) --target run_concurrent_runs_test
	TSAN_OPTIONS="halt_on_error=1" $(TSAN_DIR)/bin/run_concurrent_runs_test
	TSAN_OPTIONS="halt_on_error=1" ORVO_MODE=reference $(TSAN_DIR)/bin/run_concurrent_runs_test

fuzz: fuzz-deps
	@[ -f $(FUZZ_DIR)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja \
	  -DORVO_FUZZ=ON -DORVO_BUILD_GUI=OFF -DORVO_BUILD_BENCH=OFF -DORVO_BUILD_TESTS=OFF \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only"
	cmake --build $(FUZZ_DIR) --target orvo_fuzzer plain_token_fuzzer $(if $(filter-out 0,$(FUZZ_COMPARE_SECONDS)),compare_fuzzer)
	python3 tests/fuzz/make_corpus.py $(FUZZ_CORPUS)
	python3 tests/fuzz/make_corpus.py $(FUZZ_PLAIN_CORPUS)
	mkdir -p $(FUZZ_ARTIFACTS)
	$(FUZZ_DIR)/bin/orvo_fuzzer $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) \
	  -artifact_prefix=$(FUZZ_ARTIFACTS) $(FUZZ_CORPUS)
	$(FUZZ_DIR)/bin/plain_token_fuzzer $(FUZZ_FLAGS) -max_total_time=$(FUZZ_PLAIN_SECONDS) \
	  -artifact_prefix=$(FUZZ_ARTIFACTS) $(FUZZ_PLAIN_CORPUS)
ifneq ($(FUZZ_COMPARE_SECONDS),0)
	python3 tests/fuzz/make_corpus.py $(FUZZ_COMPARE_CORPUS)
	$(FUZZ_DIR)/bin/compare_fuzzer $(FUZZ_FLAGS) -max_total_time=$(FUZZ_COMPARE_SECONDS) \
	  -artifact_prefix=$(FUZZ_ARTIFACTS) $(FUZZ_COMPARE_CORPUS)
endif

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR) $(FUZZ_DIR)
