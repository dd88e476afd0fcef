#ifndef LOGBOX_H
#define LOGBOX_H

#include <QPlainTextEdit>
#include <QString>

// The log box. It keeps the log text exactly as written (CR LF line ends, a lone CR inside a
// printer's status text) apart from what it displays, because a text document turns every
// line end into a paragraph break of its own. Appending adds to the end of the document
// rather than replacing it, so a star on a long log costs what it costs on a short one.
//
// The view follows the newest line while the user is at the end, and stays put while the user
// has scrolled up to read. The user can select and copy, not type.
class LogBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit LogBox(QWidget *parent = nullptr);

    const QString &logText() const { return m_text; }
    void appendLogText(const QString &text);
    void clearLog();

private:
    QString displayTextFor(const QString &text) const;

    QString m_text;
};

#endif // LOGBOX_H
