# The commands: `make run`, `make test`, `make survey` and `make bench`. Each installs what is
# missing first.
BUILD_DIR := build
JOBS ?= 2

.PHONY: all bootstrap configure build run test survey bench clean

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

bench: build
	@scripts/run-bench $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
