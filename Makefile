# Two commands for a fresh Debian machine:
#   make run    installs what is missing, builds, creates the demo database on first use, starts the program
#   make test   installs what is missing, builds, runs every test
SHELL := /bin/bash
BUILD ?= build
JOBS ?= 2
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql \
	libqt6sql6-odbc libsqlite3-dev libxlsxwriter-dev libzint-dev fonts-noto-cjk libsodium-dev \
	libgtest-dev libgmock-dev clang libclang-rt-14-dev postgresql libpq-dev qtkeychain-qt6-dev \
	libsqliteodbc unixodbc
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
FUZZ_SECONDS ?= 20

.PHONY: all deps build test unit-tests fuzz bench run clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

unit-tests: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test: unit-tests fuzz

# The translator's fuzzer, built with clang in a build folder of its own and run briefly.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DMD_BUILD_FUZZ=ON -DMD_BUILD_TESTS=OFF -DMD_BUILD_BENCH=OFF >/dev/null
	cmake --build build-fuzz -j $(JOBS) --target fuzz_tsql
	mkdir -p build-fuzz/corpus
	./build-fuzz/bin/fuzz_tsql -dict=tests/fuzz/tsql.dict -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		build-fuzz/corpus tests/golden

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DMD_BUILD_TESTS=OFF >/dev/null
	cmake --build build-bench -j $(JOBS) --target benchmarks
	@# The PostgreSQL benchmark gets a private server for the run.
	@export MD_BENCH_PG="$$(tests/pg/pgserver.sh start build-bench/pgbench)" || exit 1; \
	trap 'tests/pg/pgserver.sh stop build-bench/pgbench' EXIT; \
	for b in build-bench/bin/bench_*; do QT_QPA_PLATFORM=offscreen $$b || exit 1; done

run: build
	@if [ -x $(BUILD)/bin/masterdata ]; then $(BUILD)/bin/masterdata; \
	else echo "The host program is not built yet; try: $(BUILD)/bin/mdsql --db demo.db --create 'select * from config'"; fi

clean:
	rm -rf $(BUILD) build-fuzz build-bench
