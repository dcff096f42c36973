# Thin wrapper: every command installs what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
DESTDIR ?=

# make fuzz [FUZZ_SECONDS=60]: each libFuzzer target for that long, one after
# another, in a build folder of its own (clang, sanitizers; see fuzz/README.md).
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = fuzz_server fuzz_session fuzz_lobby fuzz_settings fuzz_lzrw1

.PHONY: run test build configure install deps bench clean fuzz

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

fuzz: deps
	bash scripts/install-deps.sh --fuzz
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DZWONKY_FUZZ=ON \
	    -DZWONKY_BUILD_TESTS=OFF -DZWONKY_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) --target $(FUZZ_TARGETS) -j$(JOBS)
	bash scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD_DIR)
