# SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Two commands matter: `make run` and `make test`. Each command installs
# the Debian packages it needs first, if missing (scripts/install-deps.sh):
# `make run`, `make build`, `make bench`, `make soak` and `make screenshot`
# only what building and running the two programs takes; `make test`, `make
# faults`, `make lint`, `make sanitize`, `make fuzz` and `make package` their
# workshop's tools on top.
# Then they configure and build incrementally.

BUILD_DIR   ?= build
SAN_DIR     ?= build-sanitize
FUZZ_SECONDS ?= 300
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
PANEL       := $(BUILD_DIR)/app/model-railway-panel
SIMULATOR   := $(BUILD_DIR)/simulator/command-station-simulator

WORKSHOP_DEPS := deps-test deps-faults deps-lint deps-sanitize deps-package

.PHONY: all deps $(WORKSHOP_DEPS) configure build test test-fast bench soak faults sanitize fuzz run package lint \
	screenshot windows windows-check clean

all: build

deps:
	@./scripts/install-deps.sh run

$(WORKSHOP_DEPS):
	@./scripts/install-deps.sh $(@:deps-%=%)

# CMake's own account of what it found stays quiet; its warnings and errors
# show.
$(BUILD_DIR)/CMakeCache.txt: | deps
	@echo "Configuring the build in $(BUILD_DIR)/"
	@cmake -S . -B $(BUILD_DIR) --log-level=WARNING

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

# Every test, the format and clang-tidy checks, then the whole suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer with the fuzz targets
# run briefly.
test: test-fast lint sanitize

test-fast: deps-test package
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The panel measured side by side with bare Qt programs, then the simulator
# against a bare line-echo server: prints two tables of figures
# (docs/performance.md explains them). Takes about a minute.
bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/panel-bench
	$(BUILD_DIR)/bench/simulator-bench

# The panel connected to the simulator for SOAK_MINUTES, commands every 5 ms
# and a 4 MiB reply every 30 s: memory of both every minute, the panel's
# longest stall, every command accounted for. Not part of `make test`.
SOAK_MINUTES ?= 10
soak: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/panel-soak --minutes $(SOAK_MINUTES)

# Every deliberate fault of scripts/faults.txt, each built into a scratch
# copy of the committed code (build-faults/1 and build-faults/2, two runs
# side by side with half the faults each): its guard test is built and run
# alone, the whole suite only when the guard misses it. Prints which test
# caught it, or that none did, and records it in scripts/fault-results.txt
# and the map in docs/robustness.md, which gives the last run's counts and
# times. Not part of `make test`.
faults: deps-faults
	./scripts/fault-check.sh --halves

$(SAN_DIR)/CMakeCache.txt: | deps-sanitize
	CC=clang CXX=clang++ cmake -S . -B $(SAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DPANEL_SANITIZE=ON -DPANEL_FUZZ=ON

sanitize: deps-sanitize $(SAN_DIR)/CMakeCache.txt
	cmake --build $(SAN_DIR) -j$(JOBS)
	cd $(SAN_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# Runs every fuzz target for FUZZ_SECONDS on its seed corpus.
fuzz: deps-sanitize $(SAN_DIR)/CMakeCache.txt
	cmake --build $(SAN_DIR) -j$(JOBS)
	./scripts/run-fuzzers.sh $(SAN_DIR)/fuzz $(FUZZ_SECONDS)

# Builds only the two programs, so the first run does not wait for the tests.
# Each step says what it does in a line; the compiler's account goes to
# $(BUILD_DIR)/run-build.log, shown in part and named when the build fails.
run: configure
	@echo "Building the panel and the station simulator (a few minutes the first time)"
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target model-railway-panel command-station-simulator \
		>$(BUILD_DIR)/run-build.log 2>&1 \
		|| { tail -n 30 $(BUILD_DIR)/run-build.log; \
		     echo "The build failed; its whole output is in $(BUILD_DIR)/run-build.log" >&2; exit 1; }
	@./scripts/run-panel.sh $(PANEL) $(SIMULATOR)

# The Debian package, in $(BUILD_DIR); install it with
# apt install ./$(BUILD_DIR)/model-railway-panel_*.deb
package: deps-package build
	cd $(BUILD_DIR) && cpack

# Formatting (clang-format) and clang-tidy over our sources; those only
# Windows compiles too once make windows has built them.
lint: deps-lint configure
	./scripts/lint.sh $(BUILD_DIR)

# Renders the pictures in docs/ headless: the window as it opens
# (docs/using.md), and after connecting to the simulator and clicking "Go",
# with the station's answer in the output box (the README); that again on a screen of twice the density
# (docs/using.md); and the panel beside the simulator's railway window after
# a short session (the README and docs/simulator.md).
screenshot: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target window-screenshot command-station-simulator
	@mkdir -p docs
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tools/window-screenshot $(SIMULATOR) \
		docs/window.png docs/window-powered.png docs/panel-and-railway.png
	QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 $(BUILD_DIR)/tools/window-screenshot $(SIMULATOR) \
		$(BUILD_DIR)/window-2x.png docs/window-2x.png

# The Windows build, made here: Qt for Windows built once from Debian's own
# source into ~/.cache/model-railway-panel (the first time about 18 to 24
# minutes on two idle cores, longer on a busy machine, as timed in
# docs/windows.md; reused after), the two programs cross-built with
# MinGW-w64, and in build-windows/ the portable folder, its zip and the NSIS
# installer.
# Its packages are installed first, with the check's too when the check is
# asked for, so nothing is missing after the long build. Not part of `make
# test`; CI runs `make windows-check` after it.
WINDOWS_DEPS := $(if $(filter windows-check,$(MAKECMDGOALS)),windows-check,windows)
windows:
	@./scripts/install-deps.sh $(WINDOWS_DEPS)
	BUILD_DIR=$(BUILD_DIR) JOBS=$(JOBS) ./scripts/build-windows.sh

# The files only Windows compiles, formatted and through clang-tidy; then the
# installed Windows programs under Wine on a virtual display, driven against
# the Linux ones, and the QTest programs that need no Linux and no display,
# cross-built and run under Wine (tests/windows/CMakeLists.txt says which
# and why). Besides the Linux programs it drives, built in $(BUILD_DIR), it
# writes only into build-windows/.
windows-check: windows
	BUILD_DIR=$(BUILD_DIR) ./scripts/lint.sh --windows
	BUILD_DIR=$(BUILD_DIR) JOBS=$(JOBS) ./tests/windows/check-windows.sh

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) build-windows
