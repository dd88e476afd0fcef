#ifndef CLIPBOARD_H
#define CLIPBOARD_H

#include <QString>

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    // Plain text, exactly as given: line breaks are not translated.
    virtual void setText(const QString &text) = 0;
};

#endif // CLIPBOARD_H
