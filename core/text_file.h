#pragma once
// Text files by the runtime's rules: a line ends at CR (CR LF is one end; a lone LF is an
// ordinary character), Ctrl-Z ends the file, every written line gets CR LF, and every step that
// fails raises InOutError with the operating system's code.
#include <string>
#include <string_view>
#include <vector>

#include "core/kernel_handle.h"
#include "platform/win32.h"

namespace mvorbel {

class TextReader {
 public:
    // Opens an existing file for reading, letting others read it meanwhile but not write it.
    explicit TextReader(const std::string& path);
    // Closes without raising; call Close() to learn about a failed close.
    ~TextReader() = default;

    // The next line without its end; an empty line once the file is at its end.
    std::string ReadLine();
    // True when nothing remains before the physical end or a Ctrl-Z.
    bool AtEnd();
    void Close();

 private:
    bool Fill();  // false at the physical end
    bool Available();

    KernelHandle file_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t length_ = 0;
};

class TextWriter {
 public:
    // Creates the file (or empties it, with CREATE_ALWAYS) with normal attributes for writing,
    // letting others read it meanwhile.
    explicit TextWriter(const std::string& path, DWORD creationDisposition = CREATE_ALWAYS);
    ~TextWriter() = default;

    void WriteLine(std::string_view line);
    // Forces what was written to the disk (FlushFileBuffers).
    void Flush();
    void Close();

 private:
    KernelHandle file_;
};

}  // namespace mvorbel
