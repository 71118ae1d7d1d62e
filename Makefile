# Two commands for a fresh Debian machine:
#   make run    installs what is missing, builds, creates the demo database on first use, starts the program
#   make test   installs what is missing, builds, runs every test
#   make package  the Debian package of the build folder (build/masterdata_<version>_<arch>.deb)
SHELL := /bin/bash
BUILD ?= build
JOBS ?= 2
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql \
	libqt6sql6-odbc libsqlite3-dev libxlsxwriter-dev libzint-dev fonts-noto-cjk libsodium-dev \
	libgtest-dev libgmock-dev clang libclang-rt-14-dev postgresql libpq-dev qtkeychain-qt6-dev \
	libsqliteodbc unixodbc clang-format-14 dpkg-dev libicu-dev libzbar-dev libfreexl-dev
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
FUZZ_SECONDS ?= 20
# The formatter is pinned to the clang of the toolchain in use.
CLANG_FORMAT := clang-format-14
ASAN := build-asan
# Qt keeps some allocations for the life of the process; leaks are not what we look for here.
ASAN_ENV := ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	QT_QPA_PLATFORM=offscreen
SOURCES = $$(git ls-files '*.cpp' '*.h' '*.c')

.PHONY: all deps build test unit-tests format format-check asan-build sanitize fuzz-replay fuzz \
	fuzz-long fuzz-merge bench run clean package package-check

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

test: format-check unit-tests package-check sanitize fuzz-replay

# The Debian package of what the build folder holds (CPack, packaging/packaging.cmake).
package: build
	cd $(BUILD) && cpack --config CPackConfig.cmake

# Its control data and contents, and the program unpacked into a scratch folder
# making a demo database and taking a screenshot.
package-check: package
	packaging/check-package.sh $(BUILD)

format: deps
	$(CLANG_FORMAT) -i $(SOURCES)

# Fails on any file the formatter would change; `make format` applies it.
format-check: deps
	@$(CLANG_FORMAT) --dry-run --Werror $(SOURCES) || \
		{ echo "Unformatted files: run 'make format'"; exit 1; }

# One clang build folder with AddressSanitizer and UndefinedBehaviorSanitizer for
# the data and translator tests and the translator's fuzzer.
$(ASAN)/build.ninja:
	CC=clang CXX=clang++ cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DMD_SANITIZE=ON -DMD_BUILD_FUZZ=ON -DMD_BUILD_BENCH=OFF -DMD_TEST_POSTGRES=OFF >/dev/null

# It holds the database side only: the tests listed in tests/CMakeLists.txt
# (MD_SANITIZED_TESTS), the programs they start, and the fuzzer.
asan-build: deps $(ASAN)/build.ninja
	cmake --build $(ASAN) -j $(JOBS)

sanitize: asan-build
	cd $(ASAN) && $(ASAN_ENV) ctest --output-on-failure -j $(JOBS)

# Every input of the kept corpus (and the golden batches) once more, under the sanitizers.
fuzz-replay: asan-build
	$(ASAN_ENV) ./$(ASAN)/bin/fuzz_tsql -runs=0 tests/fuzz/corpus tests/golden

# Fuzzing for a while; what it finds goes to $(ASAN)/fuzz-found. `make fuzz-merge`
# keeps the inputs that reach new code in tests/fuzz/corpus; a crash input goes
# there with its fix.
fuzz: asan-build
	mkdir -p $(ASAN)/fuzz-found
	$(ASAN_ENV) ./$(ASAN)/bin/fuzz_tsql -dict=tests/fuzz/tsql.dict -max_total_time=$(FUZZ_SECONDS) \
		-print_final_stats=1 $(ASAN)/fuzz-found tests/fuzz/corpus tests/golden

fuzz-long:
	$(MAKE) fuzz FUZZ_SECONDS=300

fuzz-merge: asan-build
	mkdir -p $(ASAN)/fuzz-found
	$(ASAN_ENV) ./$(ASAN)/bin/fuzz_tsql -merge=1 tests/fuzz/corpus $(ASAN)/fuzz-found

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DMD_BUILD_TESTS=OFF >/dev/null
	cmake --build build-bench -j $(JOBS) --target benchmarks
	@# The PostgreSQL benchmark gets a private server for the run.
	@export MD_BENCH_PG="$$(tests/pg/pgserver.sh start build-bench/pgbench)" || exit 1; \
	trap 'tests/pg/pgserver.sh stop build-bench/pgbench' EXIT; \
	for b in build-bench/bin/bench_*; do QT_QPA_PLATFORM=offscreen $$b || exit 1; done

# The time clock's stand-in: kq.db beside the demo database, offered as the ODBC
# data source KQ through odbc.ini there (ODBCINI), unless a KQ is already defined.
KQ_DRIVER := /usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so

run: build
	@if [ -x $(BUILD)/bin/masterdata ]; then \
		if ! odbcinst -q -s -n KQ >/dev/null 2>&1; then \
			home="$${MASTERDATA_HOME:-$${XDG_DATA_HOME:-$$HOME/.local/share}/masterdata}"; \
			mkdir -p "$$home"; export ODBCINI="$$home/odbc.ini"; \
			if ! odbcinst -q -s -n KQ >/dev/null 2>&1; then \
				[ -f "$$home/kq.db" ] || $(BUILD)/bin/mdsql --demo-kq "$$home/kq.db" || exit 1; \
				printf '\n[KQ]\nDescription=Time clock (demo)\nDriver=%s\nDatabase=%s\nTimeout=5000\n' \
					"$(KQ_DRIVER)" "$$home/kq.db" >> "$$ODBCINI"; \
			fi; \
		fi; \
		$(BUILD)/bin/masterdata; \
	else echo "The host program is not built yet; try: $(BUILD)/bin/mdsql --db demo.db --create 'select * from config'"; fi

clean:
	rm -rf $(BUILD) $(ASAN) build-bench
