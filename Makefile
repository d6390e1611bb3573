# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test bench package check-sanitize clean

all: build

deps:
	./scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tensim

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD)/bench/tensim_bench
	./$(BUILD)/bench/tensim_bench_memory
	./bench/startup-time $(BUILD)/tensim

# The Debian package, built by CPack in the build folder; prints its path.
package: build
	cd $(BUILD) && { cpack -G DEB >cpack.log 2>&1; status=$$?; cat cpack.log; exit $$status; }
	@sed -n 's/^CPack: - package: \(.*\) generated\.$$/Package: \1/p' $(BUILD)/cpack.log

# Every test program, the monkey test with fewer actions, under
# AddressSanitizer and UndefinedBehaviorSanitizer, in a build of its own.
# Leaks are not reported: the font and graphics libraries keep memory on
# purpose until the process ends.
SANITIZE_BUILD ?= build-sanitize
check-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O1 \
	  -DTENSIM_SANITIZE=ON -DTENSIM_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen TENSIM_MONKEY_ACTIONS=1500 \
	  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) --timeout 1800

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
