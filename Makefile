# make run   install what is missing, build, start the program under Wine
# make test  install what is missing, build, run every test
# make bench run the benchmarks against their peers
SHELL := /bin/bash
BUILD := build
ROOT := $(CURDIR)
JOBS ?= 2

.PHONY: deps build build-win build-native build-tsan build-fuzz dist run test bench clean

deps:
	bash scripts/bootstrap.sh
	bash scripts/build-libjpeg.sh $(BUILD)/deps

# Configure once; later builds let CMake notice its own changes.
define build_preset
	@[ -f $(BUILD)/$(2)/build.ninja ] || cmake --preset $(1) >/dev/null
	cmake --build $(BUILD)/$(2) -j$(JOBS)
endef

build-win: deps
	$(call build_preset,windows,win)

build-native: deps
	$(call build_preset,native,native)

build-tsan: deps
	$(call build_preset,tsan,tsan)

build-fuzz: deps
	$(call build_preset,fuzz,fuzz)

build: build-win build-native build-tsan build-fuzz

dist: build-win
	rm -rf dist
	cmake -E copy_directory $(BUILD)/win/dist dist

run: dist
	bash scripts/run.sh "$(ROOT)"

test: build
	bash scripts/test.sh "$(ROOT)"

bench: build-win
	bash bench/run.sh "$(ROOT)"

clean:
	rm -rf $(BUILD)/native $(BUILD)/tsan $(BUILD)/fuzz $(BUILD)/win dist
