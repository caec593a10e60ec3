# make run   - set up, build and start the program
# make test  - set up, build and run every test
# make bench - set up, build and run the benchmarks
# make soak  - set up, build and run the one-minute soak of four workstations killed at random
# make format-check - every C++ file formatted as .clang-format says
# make sanitize     - the engine and foundation tests built and run with ASan and UBSan
BUILD := build
SANITIZE_BUILD := build-sanitize
JOBS ?= 2

.PHONY: setup configure build test run bench soak clean format-check sanitize

setup:
	@scripts/setup.sh

configure: setup
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

run: build
	@scripts/run-demo.sh

# Every benchmark runs even when an earlier one misses a goal; the target fails if any did.
bench: build
	cmake --build $(BUILD) --target dbase_bench transaction_bench startup_bench report_bench products_bench sales_bench \
	  register_bench backup_bench reports_bench kavina -j $(JOBS)
	@status=0; $(BUILD)/bin/dbase_bench || status=1; $(BUILD)/bin/transaction_bench || status=1; \
	  $(BUILD)/bin/startup_bench || status=1; $(BUILD)/bin/report_bench || status=1; \
	  $(BUILD)/bin/products_bench || status=1; $(BUILD)/bin/sales_bench || status=1; \
	  $(BUILD)/bin/register_bench || status=1; $(BUILD)/bin/backup_bench || status=1; \
	  $(BUILD)/bin/reports_bench || status=1; exit $$status

# KAVINA_SEED=<seed> repeats a run; the seed is printed.
soak: configure
	cmake --build $(BUILD) --target dbase_soak_tests -j $(JOBS)
	KAVINA_SOAK_SECONDS=60 $(BUILD)/bin/dbase_soak_tests

format-check: setup
	@scripts/check-format.sh

# The engine and foundation tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: setup
	@[ -f $(SANITIZE_BUILD)/build.ninja ] || cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DKAVINA_SANITIZE=ON -DKAVINA_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) --target dbase_tests dbase_soak_tests foundation_tests -j $(JOBS)
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 600 -L 'dbase|foundation'

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
