#include "pipetext.h"

QByteArray PipeText::bytes(const QString &text, Form form)
{
    // Terminals, files and tools read UTF-8 with LF here, whatever the text is for.
    static_cast<void>(form);
    return text.toUtf8();
}
