# make run   - set up, build and start the program
# make test  - set up, build and run every test
# make bench - set up, build and run the benchmarks
# make soak  - set up, build and run the one-minute soak of four workstations killed at random
BUILD := build
JOBS ?= 2

.PHONY: setup configure build test run bench soak clean

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
	cmake --build $(BUILD) --target dbase_bench transaction_bench startup_bench report_bench kavina -j $(JOBS)
	@status=0; $(BUILD)/bin/dbase_bench || status=1; $(BUILD)/bin/transaction_bench || status=1; \
	  $(BUILD)/bin/startup_bench || status=1; $(BUILD)/bin/report_bench || status=1; exit $$status

# KAVINA_SEED=<seed> repeats a run; the seed is printed.
soak: configure
	cmake --build $(BUILD) --target dbase_soak_tests -j $(JOBS)
	KAVINA_SOAK_SECONDS=60 $(BUILD)/bin/dbase_soak_tests

clean:
	rm -rf $(BUILD)
