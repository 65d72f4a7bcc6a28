# make run  : install what is missing, build, build the data, start the program
# make test : the same, then every test
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all setup test-setup configure build run test bench clean

all: build

setup:
	@bash scripts/setup.sh $(BUILD)

configure: setup
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/quillory

test-setup:
	@bash scripts/setup.sh $(BUILD) --test

test: test-setup build
	@cd $(BUILD) && QTWEBENGINE_DISABLE_SANDBOX=1 ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD)/quillory_bench

clean:
	rm -rf $(BUILD)
