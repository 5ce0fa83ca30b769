# Set-up, build, run and test in one place. As root on a fresh Debian 12
# machine `make run` and `make test` install what is missing first.

BUILD ?= build
JOBS ?= 2
PACKAGES := cmake g++ ninja-build pkg-config qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-translations-l10n libicu-dev \
            gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
            libgtest-dev libgmock-dev fonts-ipafont-gothic dbus-daemon xvfb xauth
CHECK_PACKAGES := clang-format desktop-file-utils appstream
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps check-deps bench-deps configure build run test check install package bench clean

all: build

deps check-deps bench-deps: LIST = $(if $(filter check-deps,$@),$(CHECK_PACKAGES),$(if $(filter bench-deps,$@),$(BENCH_PACKAGES),$(PACKAGES)))
deps check-deps bench-deps:
	@missing=$$(for p in $(LIST); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  if [ "$$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/listora

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# PREFIX and DESTDIR as usual: make install PREFIX=/usr DESTDIR=/tmp/stage
PREFIX ?= /usr/local
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cd $(BUILD) && cpack -G DEB

# The layers point one way and every file is formatted.
check: check-deps build
	tools/check-layers
	tools/check-format
	tools/check-install $(BUILD)

BENCH_PACKAGES := gstreamer1.0-tools

bench: deps bench-deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build-release -j$(JOBS) --target listora-bench
	./build-release/bench/listora-bench
	./build-release/bench/listora-bench read

clean:
	rm -rf $(BUILD) build-release
