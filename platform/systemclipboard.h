#ifndef SYSTEMCLIPBOARD_H
#define SYSTEMCLIPBOARD_H

#include "clipboard.h"

class SystemClipboard : public Clipboard
{
public:
    void clear() override;
    void setText(const QString &text) override;
};

#endif // SYSTEMCLIPBOARD_H
