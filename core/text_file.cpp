#include "core/text_file.h"

#include "core/io_error.h"

namespace mvorbel {
namespace {

constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr char kCtrlZ = 26;
constexpr DWORD kBufferSize = 4096;
// The runtime's own codes: a step on a file that is not open, and a write cut short.
constexpr DWORD kFileNotOpen = 103;
constexpr DWORD kDiskFull = 101;

}  // namespace

TextReader::TextReader(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr)),
      buffer_(kBufferSize) {
    if (!file_.Valid()) RaiseInOutError(GetLastError());
}

bool TextReader::Fill() {
    if (!file_.Valid()) RaiseInOutError(kFileNotOpen);
    DWORD read = 0;
    if (!ReadFile(file_.Get(), buffer_.data(), kBufferSize, &read, nullptr)) {
        RaiseInOutError(GetLastError());
    }
    position_ = 0;
    length_ = read;
    return read != 0;
}

bool TextReader::Available() {
    return (position_ < length_ || Fill()) && buffer_[position_] != kCtrlZ;
}

bool TextReader::AtEnd() { return !Available(); }

std::string TextReader::ReadLine() {
    std::string line;
    while (Available()) {
        char c = buffer_[position_++];
        if (c == kCarriageReturn) {
            if (Available() && buffer_[position_] == kLineFeed) ++position_;
            break;
        }
        line += c;
    }
    return line;
}

void TextReader::Close() {
    if (!file_.Valid()) return;
    if (!CloseHandle(file_.Release())) RaiseInOutError(GetLastError());
}

TextWriter::TextWriter(const std::string& path, DWORD creationDisposition)
    : file_(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, creationDisposition,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_.Valid()) RaiseInOutError(GetLastError());
}

void TextWriter::WriteLine(std::string_view line) {
    if (!file_.Valid()) RaiseInOutError(kFileNotOpen);
    std::string text(line);
    text += "\r\n";
    DWORD written = 0;
    if (!WriteFile(file_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        RaiseInOutError(GetLastError());
    }
    // A short write is how a full disk shows when the call itself succeeds.
    if (written != text.size()) RaiseInOutError(kDiskFull);
}

void TextWriter::Flush() {
    if (!file_.Valid()) RaiseInOutError(kFileNotOpen);
    if (!FlushFileBuffers(file_.Get())) RaiseInOutError(GetLastError());
}

void TextWriter::Close() {
    if (!file_.Valid()) return;
    if (!CloseHandle(file_.Release())) RaiseInOutError(GetLastError());
}

}  // namespace mvorbel
