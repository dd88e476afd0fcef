#ifndef TOOLKITTRANSLATOR_H
#define TOOLKITTRANSLATOR_H

#include <QTranslator>

// The toolkit's own texts that the window shows (the context menus of the log box, the fields
// and the scroll bars) in Norwegian bokmål, like the rest of the window. The toolkit ships no
// bokmål translation, and these few texts need no translation file: every other text is left
// to the toolkit as it is.
class ToolkitTranslator : public QTranslator
{
    Q_OBJECT

public:
    explicit ToolkitTranslator(QObject *parent = nullptr);

    bool isEmpty() const override;
    QString translate(const char *context, const char *sourceText,
                      const char *disambiguation = nullptr, int n = -1) const override;
};

#endif // TOOLKITTRANSLATOR_H
