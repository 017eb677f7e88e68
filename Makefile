# Pagewick: one command to set up and start, one to set up and test.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PAGES ?= 10000
# Where `make install` puts Pagewick: the user's ~/.local, or /usr/local for root.
PREFIX ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)

.PHONY: all deps configure build run test bench install uninstall clean

all: build

deps:
	@tools/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@tools/run-app $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	bench/run $(BUILD) $(PAGES)

install: build
	@tools/install-pagewick $(BUILD) $(PREFIX)

uninstall:
	@tools/uninstall-pagewick $(BUILD)/install-record

clean:
	rm -rf $(BUILD)
