# The two commands of the README, plus benchmarks and fuzzing.
# Each one installs missing Debian packages first (scripts/setup.sh).
.PHONY: setup setup-tests test format-check run bench bench-build fuzz asan package uninstall clean

# WERROR=ON (as CI sets it) turns every warning of our own code into an error.
WERROR ?= OFF
# UNITY=ON (as CI sets it) builds the debug preset as unity builds too, which
# saves compiling the same headers again; left OFF, each file compiles alone
# and a missing include shows.
UNITY ?= OFF

setup:
	@bash scripts/setup.sh

# The tests also need the glTF validator, which comes from npm.
setup-tests:
	@bash scripts/setup.sh --tests

test: setup-tests
	cmake --preset debug -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR) -DCMAKE_UNITY_BUILD=$(UNITY)
	cmake --build --preset debug
	FACETOR_DISPLAY_COUNT=4 bash scripts/with-display.sh ctest --preset debug

# Every tracked C++ file laid out as .clang-format says (CI runs it).
format-check: setup-tests
	bash scripts/check_format.sh

run: setup
	cmake --preset release
	cmake --build --preset release --target facetor
	bash scripts/run.sh build/release

# Builds every benchmark without running one.
bench-build: setup
	cmake --preset release -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR)
	cmake --build --preset release

bench: setup
	cmake --preset release
	cmake --build --preset release
	bash scripts/with-display.sh bash scripts/bench.sh build/release

fuzz: setup
	cmake --preset fuzz
	cmake --build --preset fuzz
	bash scripts/fuzz.sh build/fuzz

asan: setup-tests
	cmake --preset asan -DCMAKE_COMPILE_WARNING_AS_ERROR=$(WERROR)
	cmake --build --preset asan
	FACETOR_DISPLAY_COUNT=4 bash scripts/with-display.sh ctest --preset asan

# The Debian package from the Release build, checked by lintian, which shows
# every tag down to the pedantic ones and fails on an error.
package: setup
	cmake --preset release
	cmake --build --preset release --target installables
	cd build/release && cpack
	lintian -I --pedantic --fail-on error build/release/facetor_*.deb

# Removes what the last `cmake --install build/release` added.
uninstall:
	cmake --build --preset release --target uninstall

clean:
	rm -rf build
