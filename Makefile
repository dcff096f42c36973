# Thin wrapper: every command installs what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: run test build configure install deps bench clean

# Only the game and what it is made of: the first start compiles no test.
run: configure
	cmake --build $(BUILD_DIR) --target zwonky -j$(JOBS)
	./$(BUILD_DIR)/zwonky

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja

# make install [PREFIX=/usr/local] [DESTDIR=staging folder]
install: configure
	cmake --build $(BUILD_DIR) --target zwonky_programs -j$(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

deps:
	bash scripts/install-deps.sh

bench: build
	bash scripts/bench-table.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
