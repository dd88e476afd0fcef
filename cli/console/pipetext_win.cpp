#include "pipetext.h"

#include <windows.h>

namespace {

// The console's output code page as the program found it: the program switches its console to
// UTF-8 for Qt's own messages while it runs, and the reader of the pipe (cmd's `type`, `more`,
// PowerShell) reads with the code page the user chose (`chcp`). Read before main() runs.
// 0 when no console is attached (a service, a scheduled task): UTF-8 then.
const UINT startCodePage = GetConsoleOutputCP();

QByteArray inCodePage(const QString &text, UINT codePage)
{
    if (codePage == 0 || codePage == CP_UTF8 || text.isEmpty())
        return text.toUtf8();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length =
        WideCharToMultiByte(codePage, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return text.toUtf8();
    QByteArray bytes(length, Qt::Uninitialized);
    // A character the code page lacks becomes its default character ("?").
    WideCharToMultiByte(codePage, 0, wide, int(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

} // namespace

QByteArray PipeText::bytes(const QString &text, Form form)
{
    switch (form) {
    case Form::Local:
        return inCodePage(withCrLf(text), startCodePage);
    case Form::Utf8Lines:
        return withCrLf(text).toUtf8();
    case Form::Exact:
        break;
    }
    return text.toUtf8();
}
