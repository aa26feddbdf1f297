# Front door. `make test` and `make demo` work on a fresh Debian 12 machine as root: they install
# what is missing, build, and run every test or the program in a private lab network.
.PHONY: all deps build test demo bench fuzz clean

all: build

deps:
	@tools/deps

build: deps
	cmake --preset native-asan >/dev/null
	cmake --build --preset native-asan
	cmake --preset windows >/dev/null
	cmake --build --preset windows

# Every test in one ctest run (platform-free code under ASan/UBSan, then the Windows program and its
# tests under Wine, the tools and the lab), so that the last line is ctest's summary.
test: build
	@mkdir -p build/all
	@printf 'subdirs("../native-asan" "../windows")\n' > build/all/CTestTestfile.cmake
	ctest --test-dir build/all -j2 --output-on-failure

demo: build
	/usr/bin/python3 tools/demo/demo.py build/windows

bench: build
	@/usr/bin/python3 tools/bench/bench.py build/windows

fuzz: deps
	tools/fuzz/run $${FUZZ_SECONDS:-300}

clean:
	rm -rf build out
