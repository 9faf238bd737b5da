#pragma once
// Text files by the runtime's rules: a line ends at CR (CR LF is one end; a lone LF is an
// ordinary character), Ctrl-Z ends the file, every written line gets CR LF. Every step either
// succeeds or records an InOutError with the operating system's code; the first failure stops
// the file, so that loops over it end, and the caller decides whether to raise it.
#include <cstddef>
#include <string_view>

#include "core/io_error.h"
#include "core/kernel_handle.h"
#include "platform/runtime/string.h"
#include "platform/win32.h"

namespace mvorbel {

class TextReader {
 public:
    // Opens an existing file for reading, letting others read it meanwhile but not write it.
    explicit TextReader(const char* path);
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;
    // Closes without a word; Close() tells about a failed close.
    ~TextReader();

    // The next line without its end; an empty line at the end of the file or after a failure.
    String ReadLine();
    // True when nothing remains before the physical end or a Ctrl-Z, or after a failure.
    bool AtEnd();
    // Every byte left up to the physical end, a Ctrl-Z and what follows it included; what was
    // read before a failure.
    String ReadRest();
    // The first failed step of open, read and end test; not raised.
    const InOutError& Failure() const { return failure_; }
    // The result of closing, which a failure before does not keep from being tried.
    InOutError Close();

 private:
    bool Fill();  // false at the physical end or on a failure
    bool Available();

    KernelHandle file_;
    char* buffer_ = nullptr;
    std::size_t position_ = 0;
    std::size_t length_ = 0;
    InOutError failure_;
};

class TextWriter {
 public:
    // Creates the file (or empties it, with CREATE_ALWAYS) with normal attributes (unless told
    // otherwise) for writing, letting others read it meanwhile.
    explicit TextWriter(const char* path, DWORD creationDisposition = CREATE_ALWAYS,
                        DWORD attributes = FILE_ATTRIBUTE_NORMAL);

    // Each does nothing once a step has failed.
    void WriteLine(std::string_view line);
    // Writes the bytes as they are.
    void WriteText(std::string_view text);
    // Forces what was written to the disk (FlushFileBuffers).
    void Flush();
    // The first failed step of create, write and flush; not raised.
    const InOutError& Failure() const { return failure_; }
    InOutError Close();

 private:
    KernelHandle file_;
    InOutError failure_;
};

}  // namespace mvorbel
