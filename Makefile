# Set-up, build, run and test in one place. As root on a fresh Debian 12
# machine `make run` and `make test` install what is missing first.

BUILD ?= build
JOBS ?= 2
PACKAGES := cmake g++ ninja-build pkg-config qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-translations-l10n libicu-dev \
            gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
            libgtest-dev libgmock-dev fonts-ipafont-gothic dbus-daemon xvfb xauth \
            libxcb1-dev openbox x11-utils strace libtag1-dev libexpat1-dev
CHECK_PACKAGES := clang-format desktop-file-utils appstream lintian
# Warnings are errors in the developers' and CI's builds (CMake's own
# default leaves them warnings, for users and packagers).
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLISTORA_WERROR=ON

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

# make package MAINTAINER="Name <address>": the Debian package, built in a
# folder of its own with Debian's build flags (dpkg-buildflags, all the
# hardening on) and no tests. Whoever builds the package names themself as
# its maintainer; nobody is named by default.
PACKAGE_BUILD ?= build-package
MAINTAINER ?=
package: deps
	@test -n "$(MAINTAINER)" || { echo 'make package: give MAINTAINER="Name <address>"' >&2; exit 2; }
	export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" -DLISTORA_MAINTAINER="$(MAINTAINER)"
	cmake --build $(PACKAGE_BUILD) -j$(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

# The layers point one way, every file is formatted, the installed files
# validate, and lintian finds neither error nor warning in the package
# (built for this check with a maintainer that is a placeholder, never for
# shipping).
CHECK_MAINTAINER := Placeholder Maintainer For make check <placeholder@example.invalid>
check: check-deps build
	tools/check-layers
	tools/check-format
	tools/check-install $(BUILD)
	$(MAKE) --no-print-directory package MAINTAINER="$(CHECK_MAINTAINER)"
	lintian --fail-on error,warning --display-info $(PACKAGE_BUILD)/listora_*.deb

BENCH_PACKAGES := gstreamer1.0-tools

bench: deps bench-deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLISTORA_WERROR=ON
	cmake --build build-release -j$(JOBS) --target listora-bench
	./build-release/bench/listora-bench
	./build-release/bench/listora-bench read
	./build-release/bench/listora-bench tags
	./build-release/bench/listora-bench formats
	./build-release/bench/listora-bench relink

clean:
	rm -rf $(BUILD) build-release $(PACKAGE_BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)

# ---- Faults: listora-cli killed at random moments during convert, copy and
# move, then the invariants checked (tests/faults); part of `make test`, and
# alone here: LISTORA_FAULT_RUNS=N runs each case N times for a longer
# campaign.
.PHONY: test-faults
test-faults: build
	ctest --test-dir $(BUILD) --output-on-failure -L faults

# ---- Sanitizers: the whole suite under AddressSanitizer (with
# LeakSanitizer) and UndefinedBehaviorSanitizer, halting at the first
# report, in its own build folder. The suppressions name only third-party
# libraries that leak.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_FLAGS := -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
                LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
                UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
.PHONY: test-sanitize

$(SANITIZE_BUILD)/build.ninja: | deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLISTORA_WERROR=OFF \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)"

# The build runs the tests once to list them, so it gets the same settings.
test-sanitize: $(SANITIZE_BUILD)/build.ninja
	$(SANITIZE_ENV) cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	$(SANITIZE_ENV) ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS) -LE faults

# ---- Fuzzing: the libFuzzer targets of fuzz/, built with clang in their own
# folder; fuzz-smoke runs each for FUZZ_SECONDS from its seeds in fuzz/corpus
# (new inputs go to a scratch folder, never into the tree; a crash leaves
# its input in $(FUZZ_BUILD)/crashes).
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 12
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_FLAGS := -O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
FUZZERS := m3u_round_trip playlist_formats day_file length_text path_rules codepage tag_reader
.PHONY: fuzz-deps fuzz-build fuzz-smoke

fuzz-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"

$(FUZZ_BUILD)/build.ninja: | deps fuzz-deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLISTORA_WERROR=OFF \
	  -DBUILD_TESTING=OFF -DLISTORA_FUZZ=ON -DCMAKE_CXX_FLAGS="$(FUZZ_FLAGS)"

fuzz-build: $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target listora_fuzzers

fuzz-smoke: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/crashes; failed=; \
	for name in $(FUZZERS); do \
	  scratch=$$(mktemp -d); log=$(FUZZ_BUILD)/fuzz_$$name.log; \
	  ./$(FUZZ_BUILD)/fuzz/fuzz_$$name -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/crashes/$$name- $$scratch fuzz/corpus/$$name \
	    > $$log 2>&1; status=$$?; rm -rf $$scratch; \
	  if [ $$status -eq 0 ]; then \
	    echo "fuzz_$$name: $$(sed -n 's/^stat::number_of_executed_units: *//p' $$log) inputs in $(FUZZ_SECONDS) s"; \
	  else \
	    grep -aE '^(broken:|SUMMARY:)|runtime error' $$log | head -n 5; echo "fuzz_$$name failed: see $$log"; \
	    failed="$$failed $$name"; \
	  fi; \
	done; [ -z "$$failed" ] || { echo "fuzz-smoke: failed:$$failed"; exit 1; }
