# make run  : install what is missing, build, build the data, start the program
# make test : the same, then every test
# make package : the Debian package of the build
# make fuzz : every fuzz harness for FUZZ_SECONDS each (clang, libFuzzer, ASan + UBSan)
# make check-sanitize : the unit tests and corpus replays with ASan + UBSan
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# New and crashing inputs land here, never in the seed corpora.
FUZZ_FINDINGS ?= $(FUZZ_BUILD)/findings
SANITIZE_BUILD ?= build-sanitize

.PHONY: all setup test-setup configure build run test bench package clean fuzz check-sanitize

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

fuzz: test-setup
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUILLORY_FUZZ=ON \
	  -DQUILLORY_NPM_DIR=$(abspath $(BUILD))/npm $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(FUZZ_BUILD) --target quillory_fuzzers -j $(JOBS)
	@bash tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_FINDINGS) $(FUZZ_SECONDS)

check-sanitize: test-setup
	@cmake -S . -B $(SANITIZE_BUILD) -DQUILLORY_SANITIZE=ON -DQUILLORY_NPM_DIR=$(abspath $(BUILD))/npm \
	  $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_BUILD) --target quillory_core_tests -j $(JOBS)
	@cd $(SANITIZE_BUILD) && ctest --output-on-failure -L '^(unit|fuzz)$$' -j $(JOBS)

# The Debian package $(BUILD)/quillory_VERSION_amd64.deb (CPack), then a check of its contents.
package: build
	@cd $(BUILD) && cpack -G DEB
	@cd $(BUILD) && ctest --output-on-failure -R '^install_PackageContents$$'

bench: build
	@$(BUILD)/quillory_bench

clean:
	rm -rf $(BUILD)
