# make run   - set up, build and start the program
# make test  - set up, build and run every test
# make bench - set up, build and run the benchmarks
BUILD := build
JOBS ?= 2

.PHONY: setup configure build test run bench clean

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
	cmake --build $(BUILD) --target dbase_bench transaction_bench report_bench products_bench -j $(JOBS)
	@status=0; $(BUILD)/bin/dbase_bench || status=1; $(BUILD)/bin/transaction_bench || status=1; \
	  $(BUILD)/bin/report_bench || status=1; $(BUILD)/bin/products_bench || status=1; exit $$status

clean:
	rm -rf $(BUILD)
