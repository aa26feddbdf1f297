# Front door. `make test` and `make demo` work on a fresh Debian 12 machine as root: they install
# what is missing, build, and run every test or the program in a private lab network.
#
# Two Windows builds come from the same code: `windows` (32-bit, the program users get) and
# `windows-x64`. Both are always built; which of them run here is what tools/wine/arch says: both
# where the machine runs 32-bit code, else the 64-bit one (MIVORA_ARCH=x86|x64 picks one). A tree
# that does not run still has its program file checked.
.PHONY: all deps build test demo bench fuzz soak clean

PRESETS := windows windows-x64

all: build

deps:
	@tools/deps

build: deps
	@tools/wine/arch --all >/dev/null
	cmake --preset native-asan >/dev/null
	cmake --build --preset native-asan
	@for preset in $(PRESETS); do \
	  echo "cmake --build --preset $$preset"; \
	  cmake --preset $$preset >/dev/null && cmake --build --preset $$preset || exit 1; \
	done

# Every test in one ctest run (platform-free code under ASan/UBSan, then each Windows tree that runs
# here with its tests under Wine, the tools and the lab), so that the last line is ctest's summary.
test: build
	@mkdir -p build/all
	@arches=" $$(tools/wine/arch --all) " && { \
	  echo 'subdirs("../native-asan")'; \
	  for preset in $(PRESETS); do \
	    case "$$arches" in \
	      *" $$(tools/wine/wine build/$$preset --arch) "*) echo "subdirs(\"../$$preset\")" ;; \
	      *) echo "subdirs(\"../$$preset/tests/resources\")" ;; \
	    esac; \
	  done; } > build/all/CTestTestfile.cmake
	@echo "Windows builds run here: $$(tools/wine/arch --all)"
	ctest --test-dir build/all -j2 --output-on-failure

demo: build
	@preset=$$(tools/wine/arch --preset) && /usr/bin/python3 tools/demo/demo.py build/$$preset

bench: build
	@preset=$$(tools/wine/arch --preset) && /usr/bin/python3 tools/bench/bench.py build/$$preset

# Every parser's fuzz target, each for 10 minutes, or FUZZ_SECONDS shared out over them.
fuzz: deps
	@if [ -n "$${FUZZ_SECONDS:-}" ]; then tools/fuzz/run --total "$$FUZZ_SECONDS"; else tools/fuzz/run --each 600; fi

# The program under Wine after long use (about 20 minutes): installs, failures, memory, handles,
# threads. SOAK_SEED replays a run.
soak: build
	@preset=$$(tools/wine/arch --preset) && /usr/bin/python3 tools/soak/soak.py build/$$preset

clean:
	rm -rf build out
