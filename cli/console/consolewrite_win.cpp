#include "consolewrite.h"

#include <io.h>
#include <windows.h>

#include <algorithm>

namespace {

// Older consoles refuse a single write much over 64 KB.
constexpr qsizetype longestConsoleWrite = 8192;

// The console behind the stream, or nothing when it is a file or a pipe.
HANDLE consoleOf(std::FILE *file)
{
    const int descriptor = _fileno(file);
    if (descriptor < 0)
        return nullptr;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return nullptr;
    return handle;
}

} // namespace

bool writeWhole(std::FILE *file, const QString &text, PipeText::Form form)
{
    const HANDLE console = consoleOf(file);
    if (!console) {
        const QByteArray bytes = PipeText::bytes(text, form);
        const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
        const bool flushed = std::fflush(file) == 0;
        return written == size_t(bytes.size()) && flushed && !std::ferror(file);
    }
    // Whatever the C library still holds goes first, in its order.
    std::fflush(file);
    const auto *characters = reinterpret_cast<const wchar_t *>(text.utf16());
    qsizetype left = text.size();
    while (left > 0) {
        qsizetype piece = std::min(left, longestConsoleWrite);
        // A surrogate pair stays together.
        if (piece < left && QChar::isHighSurrogate(characters[piece - 1]))
            --piece;
        DWORD written = 0;
        if (!WriteConsoleW(console, characters, DWORD(piece), &written, nullptr) || written == 0)
            return false;
        characters += written;
        left -= qsizetype(written);
    }
    return true;
}
