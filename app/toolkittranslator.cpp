#include "toolkittranslator.h"

#include <cstring>

namespace {

struct Text
{
    const char *context;
    const char *source;
    const char *bokmal;
};

// The ampersand marks the letter that opens the entry from the keyboard; each menu's letters
// differ.
constexpr Text texts[] = {
    {"QLineEdit", "&Undo", "&Angre"},
    {"QLineEdit", "&Redo", "&Gjør om"},
    {"QLineEdit", "Cu&t", "Klipp &ut"},
    {"QLineEdit", "&Copy", "&Kopier"},
    {"QLineEdit", "&Paste", "&Lim inn"},
    {"QLineEdit", "Delete", "Slett"},
    {"QLineEdit", "Select All", "Merk alt"},
    {"QWidgetTextControl", "&Undo", "&Angre"},
    {"QWidgetTextControl", "&Redo", "&Gjør om"},
    {"QWidgetTextControl", "Cu&t", "Klipp &ut"},
    {"QWidgetTextControl", "&Copy", "&Kopier"},
    {"QWidgetTextControl", "Copy &Link Location", "Kopier &lenkeadresse"},
    {"QWidgetTextControl", "&Paste", "&Lim inn"},
    {"QWidgetTextControl", "Delete", "Slett"},
    {"QWidgetTextControl", "Select All", "Merk alt"},
    {"QScrollBar", "Scroll here", "Rull hit"},
    {"QScrollBar", "Top", "Øverst"},
    {"QScrollBar", "Bottom", "Nederst"},
    {"QScrollBar", "Page up", "Side opp"},
    {"QScrollBar", "Page down", "Side ned"},
    {"QScrollBar", "Scroll up", "Rull opp"},
    {"QScrollBar", "Scroll down", "Rull ned"},
    {"QScrollBar", "Left edge", "Venstre kant"},
    {"QScrollBar", "Right edge", "Høyre kant"},
    {"QScrollBar", "Page left", "Side til venstre"},
    {"QScrollBar", "Page right", "Side til høyre"},
    {"QScrollBar", "Scroll left", "Rull til venstre"},
    {"QScrollBar", "Scroll right", "Rull til høyre"},
};

} // namespace

ToolkitTranslator::ToolkitTranslator(QObject *parent)
    : QTranslator(parent)
{
}

bool ToolkitTranslator::isEmpty() const
{
    return false;
}

QString ToolkitTranslator::translate(const char *context, const char *sourceText,
                                     const char *disambiguation, int n) const
{
    Q_UNUSED(n);
    // A text with a note of its meaning is another text, which this table does not know.
    if (!context || !sourceText || (disambiguation && *disambiguation))
        return QString();
    for (const Text &text : texts) {
        if (std::strcmp(text.context, context) == 0 && std::strcmp(text.source, sourceText) == 0)
            return QString::fromUtf8(text.bokmal);
    }
    return QString();
}
