# Two commands matter: `make run` and `make test`. Both install what is
# missing first, then configure and build incrementally.

BUILD_DIR   ?= build
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
PANEL       := $(BUILD_DIR)/app/model-railway-panel
SIMULATOR   := $(BUILD_DIR)/simulator/command-station-simulator

.PHONY: all deps configure build test run screenshot clean

all: build

deps:
	@./scripts/install-deps.sh

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

run: build
	@./scripts/run-panel.sh $(PANEL) $(SIMULATOR)

# Renders the window headless to docs/ for the README: as it opens, and with
# the station connected and the track power on.
screenshot: configure
	cmake --build $(BUILD_DIR) -j$(JOBS) --target window-screenshot
	@mkdir -p docs
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tools/window-screenshot docs/window.png docs/window-powered.png

clean:
	rm -rf $(BUILD_DIR)
