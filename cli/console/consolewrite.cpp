#include "consolewrite.h"

bool writeWhole(std::FILE *file, const QString &text, PipeText::Form form)
{
    const QByteArray bytes = PipeText::bytes(text, form);
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
    // Flushed whatever happened, so that an error of the flush shows as well.
    const bool flushed = std::fflush(file) == 0;
    return written == size_t(bytes.size()) && flushed && !std::ferror(file);
}
