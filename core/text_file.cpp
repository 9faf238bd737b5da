#include "core/text_file.h"

#include "platform/runtime/memory.h"

namespace mvorbel {
namespace {

constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr char kCtrlZ = 26;
constexpr DWORD kBufferSize = 4096;
// The runtime's own code for a write cut short.
constexpr DWORD kDiskFull = 101;

InOutError CloseFile(KernelHandle& file) {
    if (!file.Valid()) return {};
    if (!CloseHandle(file.Release())) return NewInOutError(GetLastError());
    return {};
}

}  // namespace

TextReader::TextReader(const char* path)
    : file_(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr)) {
    if (!file_.Valid()) {
        failure_ = NewInOutError(GetLastError());
        return;
    }
    buffer_ = static_cast<char*>(Allocate(kBufferSize));
}

TextReader::~TextReader() { Free(buffer_); }

bool TextReader::Fill() {
    if (failure_.raised || !file_.Valid()) return false;
    DWORD read = 0;
    if (!ReadFile(file_.Get(), buffer_, kBufferSize, &read, nullptr)) {
        failure_ = NewInOutError(GetLastError());
        return false;
    }
    position_ = 0;
    length_ = read;
    return read != 0;
}

bool TextReader::Available() {
    return (position_ < length_ || Fill()) && buffer_[position_] != kCtrlZ;
}

bool TextReader::AtEnd() { return !Available(); }

String TextReader::ReadLine() {
    String line;
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

String TextReader::ReadRest() {
    String rest;
    while (position_ < length_ || Fill()) {
        rest += std::string_view(buffer_ + position_, length_ - position_);
        position_ = length_;
    }
    return rest;
}

InOutError TextReader::Close() { return CloseFile(file_); }

TextWriter::TextWriter(const char* path, DWORD creationDisposition, DWORD attributes)
    : file_(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, creationDisposition, attributes, nullptr)) {
    if (!file_.Valid()) failure_ = NewInOutError(GetLastError());
}

void TextWriter::WriteLine(std::string_view line) { WriteText(line + "\r\n"); }

void TextWriter::WriteText(std::string_view text) {
    if (failure_.raised) return;
    DWORD written = 0;
    if (!WriteFile(file_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        failure_ = NewInOutError(GetLastError());
    } else if (written != text.size()) {
        // A short write is how a full disk shows when the call itself succeeds.
        failure_ = NewInOutError(kDiskFull);
    }
}

void TextWriter::Flush() {
    if (failure_.raised) return;
    if (!FlushFileBuffers(file_.Get())) failure_ = NewInOutError(GetLastError());
}

InOutError TextWriter::Close() { return CloseFile(file_); }

}  // namespace mvorbel
