#pragma once
// What every fuzz target shares: a check that ends the run as a finding, a
// quiet Qt (a rejected input is logged by the code under test, and printing
// millions of those lines would be all the fuzzer does), and a scratch file
// for the readers that take a path.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// A broken promise of the code under test: printed, then abort(), which
// libFuzzer records as a crash with the input that caused it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzsupport::CheckFailed(#condition, __FILE__, __LINE__);                              \
    } while (0)

namespace fuzzsupport {

[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);

// Drops every Qt message but fatal ones. Called once, from LLVMFuzzerInitialize.
void SilenceQt();

// The fuzzer's bytes as a QByteArray (copied: the caller's buffer is the
// fuzzer's, and reads past its size must show as such, which a copy of
// exactly that size keeps).
QByteArray Bytes(const uint8_t* data, size_t size);

// Writes bytes to a file of this process's scratch folder named name and
// returns its path; the same name is overwritten on every call.
QString WriteScratchFile(const QString& name, const QByteArray& bytes);

// The scratch folder (ends with '/'), removed when the process exits.
QString ScratchFolder();

} // namespace fuzzsupport
