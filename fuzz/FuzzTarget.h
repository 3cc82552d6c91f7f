#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

// What each fuzz target defines; FuzzDriver.cpp runs it. The entry point has the common libFuzzer form, so a target
// also builds with clang's -fsanitize=fuzzer or AFL++'s driver instead of ours.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// The inputs a run starts from: files this program writes itself.
std::vector<QByteArray> fuzzSeeds();
