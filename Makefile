# Two commands: `make run` and `make test`. Both install what is missing first.
BUILD   ?= build
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
WERROR  ?= $(if $(CI),ON,OFF)
SUDO    := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# ccache, where the machine has it, spares rebuilding what another checkout built.
LAUNCHER := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# Qt's French translation speaks for its own dialogs; Symbola draws the
# symbols no other font has (the hourglass of the loading notices).
PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev googletest \
            fonts-liberation2 fontconfig qt6-translations-l10n fonts-symbola poppler-utils
# The help: Qt Help to build and show it, and its SQLite driver.
PACKAGES += qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite
# The accessibility check: a display, a session bus with the accessibility
# bus on it, key presses, and the system's Python reading the bus.
PACKAGES += xvfb xdotool dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
# The Python program of a course correction, run by the course tests.
PACKAGES += python3-numpy python3-pandas
# The package and its checks.
PACKAGES += librsvg2-bin desktop-file-utils appstream dpkg-dev file
# The Qt-free layer built for WebAssembly and its tests run under Node (ctest -L wasm);
# the browser page and its tests in Chromium (ctest -L web). npm comes with
# the Node of these machines; Debian's own Node needs Debian's npm beside it.
PACKAGES += emscripten nodejs chromium $(if $(shell command -v npm 2>/dev/null),,npm)

# Every C++ file in the checked-in clang-format style (CI fails otherwise).
.PHONY: format-check
format-check:
	@$(MAKE) --no-print-directory deps PACKAGES=clang-format
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

.PHONY: run test web test-sanitize fuzz package package-check package-check-clean build deps configure clean verifier-cours

run: build
	@if [ -x $(BUILD)/bin/molvane ]; then $(BUILD)/bin/molvane; \
	else $(BUILD)/bin/molvane-bench --counts 500 500 0 0 --ticks 3000 --compare; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The browser page: $(BUILD)/web/molvane.html, one file that works offline
# (from a USB key, a school's web space or file://), the WebAssembly module,
# scripts and styles inside, and the shipped exercises of the native build
# (make build first).
web: deps
	cmake -DSOURCE=$(CURDIR) -DBINARY=$(CURDIR)/$(BUILD)/wasm -DOUT=$(CURDIR)/$(BUILD)/web -DEMCMAKE=emcmake \
	  -DLAUNCHER=$(if $(LAUNCHER),ccache) -DWERROR=$(WERROR) \
	  -DEXERCISES=$(CURDIR)/$(BUILD)/bin -DEXERCISE_LIST=$(CURDIR)/$(BUILD)/course/shipped.txt -P cmake/webbuild.cmake

# The Debian package, molvane_<version>_amd64.deb in $(BUILD)/, with the page.
package: build web
	cd $(BUILD) && cpack -G DEB

# The package's contents, its validators and the installed program's self-check.
package-check: package
	packaging/check-package.sh $$(ls -t $(BUILD)/molvane_*_amd64.deb | head -n 1)

# The package installed by apt into a fresh Debian 12 root, and the installed
# program's self-check there (root and a Debian mirror needed).
package-check-clean: package
	$(SUDO) packaging/check-clean-root.sh $$(ls -t $(BUILD)/molvane_*_amd64.deb | head -n 1)

# The tests again under the address and undefined-behaviour sanitizers: the
# whole build in Debug, then every test that ctest lists there, each program
# once (tests/run-sanitized.py says which rules set leak detection and the
# platform). Leaks are looked for in the programs not linked to Qt: Qt's font
# and platform set-up keeps memory for the process's life by design.
FUZZ_NAMES := records handoff exercise calcule rtf
test-sanitize: deps
	@[ -f $(BUILD)-sanitize/CMakeCache.txt ] || cmake -S . -B $(BUILD)-sanitize -DMOLVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(LAUNCHER)
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	python3 tests/run-sanitized.py $(BUILD)-sanitize

# Every fuzz target for FUZZ_SECONDS seconds each, one after the other, with
# libFuzzer, clang and the sanitizers, in a build folder of its own. New
# inputs go to $(BUILD)-fuzz/corpus/<name> (the seeds in fuzz/corpus stay as
# they are), crashes to $(BUILD)-fuzz/crashes/. FUZZ_TARGETS picks some.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= $(FUZZ_NAMES)
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev
fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	@[ -f $(BUILD)-fuzz/CMakeCache.txt ] || cmake -S . -B $(BUILD)-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DMOLVANE_FUZZ=ON
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target $(FUZZ_TARGETS:%=%_fuzz)
	@set -e; export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0; \
	for f in $(FUZZ_TARGETS); do \
	  mkdir -p $(BUILD)-fuzz/corpus/$$f $(BUILD)-fuzz/crashes; echo "== $$f ($(FUZZ_SECONDS) s)"; \
	  $(BUILD)-fuzz/bin/$${f}_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 \
	    -dict=fuzz/dict/$$f.dict -artifact_prefix=$(BUILD)-fuzz/crashes/$$f- -print_final_stats=1 \
	    $(BUILD)-fuzz/corpus/$$f fuzz/corpus/$$f; done

# The figures that the course's corrections quote, simulated again on 40
# seeds and checked against the ranges they quote: fails when one range does
# not hold (several minutes, so not part of `make test`).
verifier-cours: configure
	cmake --build $(BUILD) -j $(JOBS) --target molvane-run
	RUN=$(BUILD)/bin/molvane-run PROCESSUS=$(JOBS) course/verifier-valeurs.sh

build: configure
	cmake --build $(BUILD) -j $(JOBS)

configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ] || ! grep -q "MOLVANE_WERROR:BOOL=$(WERROR)" $(BUILD)/CMakeCache.txt; then \
	  cmake -S . -B $(BUILD) -DMOLVANE_WERROR=$(WERROR) $(LAUNCHER); fi

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installation de :$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; fi

clean:
	rm -rf $(BUILD)
