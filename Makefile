# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test bench package clean

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

clean:
	rm -rf $(BUILD)
