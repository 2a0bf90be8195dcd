// FuzzInput: what the fuzz targets share
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The readers under test take file paths, so each input goes through one scratch file per process (in memory
// where /dev/shm exists); Touch reads a buffer end to end so that AddressSanitizer checks the bytes a user of
// the reader would read.

namespace fuzz {

// Overwrites this process's scratch file with the bytes and returns its path. The file
// is removed when the process exits normally.
const std::string& WriteInputFile(const uint8_t* data, size_t size);

// Reads every byte of [bytes, bytes + count); the sum is kept out of the optimiser's reach.
void Touch(const unsigned char* bytes, size_t count);

// Ends the process with a message when a reader breaks its own contract (a bug that
// AddressSanitizer cannot see, such as a failure that leaves its outputs set).
void Require(bool condition, const char* what);

}  // namespace fuzz
