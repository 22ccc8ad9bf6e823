# The commands: `make run`, `make test`, `make survey`, `make surveys` and `make bench`. Each
# installs what is missing first.
BUILD_DIR := build
JOBS ?= 2

SEED ?=
MINUTES ?= 30
WM ?= $(if $(QUILLANT_NO_WM),off,both)

.PHONY: all bootstrap configure build run test survey surveys bench soak clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@[ -f $(BUILD_DIR)/CMakeCache.txt ] || cmake --preset mingw-wine > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@scripts/run-app $(BUILD_DIR)

test: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

survey: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target quillant-survey
	@scripts/run-survey $(BUILD_DIR)

# docs/surveys/: the survey of each Direct3D 9 implementation this machine runs (Wine's d3d9,
# DXVK where it is beside the repository), each through --d3d9.
surveys: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS) --target quillant-survey
	@scripts/survey-implementations $(BUILD_DIR)

# A longer soak of the real program on its own display: make soak SEED=n MINUTES=m (SEED unset:
# random and printed; ACTIONS=n replays the first n actions of that seed instead; KEEP_GOING=1
# lists every wrong result of the run instead of stopping at the first; WM=on or off runs it with
# or without a window manager, WM=both, the default, half of the time each).
soak: build
	@session=$(abspath $(BUILD_DIR))/soak-session; \
	trap 'scripts/test-session stop '"$$session"' > /dev/null' EXIT INT TERM; \
	QUILLANT_NO_WM=$(if $(filter off,$(WM)),1,) scripts/test-session start $$session > /dev/null || exit 1; \
	QUILLANT_TEST_SESSION=$$session QUILLANT_SOURCE_DIR=$(CURDIR) \
	QUILLANT_EXE=$(abspath $(BUILD_DIR))/quillant.exe QUILLANT_PROBE=$(abspath $(BUILD_DIR))/tests/window_probe.exe \
	QUILLANT_SOAK_SEED=$(SEED) QUILLANT_SOAK_SECONDS=$$(( $(MINUTES) * 60 )) QUILLANT_SOAK_ACTIONS=$(ACTIONS) QUILLANT_SOAK_KEEP_GOING=$(KEEP_GOING) \
	QUILLANT_SOAK_WM=$(WM) python3 tests/e2e/test_soak.py

bench: build
	@scripts/run-bench $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
