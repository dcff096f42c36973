# Thin wrapper: both commands install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: run test build deps bench clean

run: build
	./$(BUILD_DIR)/zwonky

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja
	cmake --build $(BUILD_DIR) -j$(JOBS)

deps:
	bash scripts/install-deps.sh

bench: build
	bash scripts/bench-table.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
