# Pagewick: one command to set up and start, one to set up and test.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PAGES ?=
# The sanitizer build (ASan + UBSan) of the whole test suite, and the fuzz targets' build (clang).
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# Extra options for the first configuration of a build folder (CI: warnings as errors).
CMAKE_FLAGS ?=
# Where `make install` puts Pagewick: the user's ~/.local, or /usr/local for root.
PREFIX ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)

.PHONY: all deps configure build run test test-sanitize fuzz format-check bench conformance install uninstall package translations clean

all: build

deps:
	@tools/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@tools/run-app $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Every test built with AddressSanitizer (leak checks included) and UndefinedBehaviorSanitizer; any
# report fails the test.
$(SANITIZE_BUILD)/build.ninja: | deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPAGEWICK_SANITIZE=ON $(CMAKE_FLAGS)

test-sanitize: deps $(SANITIZE_BUILD)/build.ninja
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && \
	ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --output-on-failure -j $(JOBS)

# libFuzzer targets (clang), each run for FUZZ_SECONDS; see fuzz/run.
$(FUZZ_BUILD)/build.ninja: | deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DPAGEWICK_FUZZ=ON $(CMAKE_FLAGS)

fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_title fuzz_flatten fuzz_feed fuzz_template
	fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Every C++ file of the project against the repository's .clang-format, changing nothing; see
# tools/format-check. Generated tables keep their layout between "clang-format off" and "on".
format-check: deps
	@tools/format-check

bench: build
	bench/run $(BUILD) $(PAGES)

# Titles against a real browser's: the browser corpus (tests/browser/corpus) through pagewick-cli,
# compared with Chromium's cached answers; prints "agree N/M" and every difference. Needs no browser;
# tools/browser-titles (with Debian's chromium) renews the answers.
conformance: build
	tools/browser-compare $(BUILD)/cli/pagewick-cli

install: build
	@tools/install-pagewick $(BUILD) $(PREFIX)

uninstall:
	@tools/uninstall-pagewick $(BUILD)/install-record

# The catalogues (translations/*.ts) brought up to date with the texts of the sources.
translations: configure
	cmake --build $(BUILD) --target translations

# A Debian package (pagewick_VERSION_ARCH.deb in BUILD), checked with lintian when it is present.
package: build
	cd $(BUILD) && cpack -G DEB
	@if command -v lintian >/dev/null; then lintian --fail-on error,warning $(BUILD)/pagewick_*.deb; fi

clean:
	rm -rf $(BUILD)
