#include "form1accessibility.h"

#include "announcement.h"
#include "announcer.h"
#include "form1ui.h"
#include "lineeditaccessible.h"
#include "logbox.h"
#include "namedcomboboxaccessible.h"
#include "quietaccessibility.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Ties a field to the label before it and gives both the field's name: the captions are
// written for the eye ("til" alone says little), the field inherits the frame's caption
// otherwise, and screen readers name a field after the label tied to it before its own name.
void nameField(QLabel *label, QWidget *field, const QString &name)
{
    if (label) {
        label->setBuddy(field);
        label->setAccessibleName(name);
    }
    field->setAccessibleName(name);
}

// What a screen reader says of the selected mode's button, which is switched off and so never
// reached with Tab, and of the other mode's button, which is.
const QString selectedModeText = QStringLiteral("Valgt");
const QString serialSelectedText = QStringLiteral("Serieport er valgt");
const QString networkSelectedText = QStringLiteral("Nettverk er valgt");

// What a screen reader user is told of a button's outcome that shows nowhere near the focus.
const QString copiedText = QStringLiteral("Loggen er kopiert til utklippstavlen");
const QString clearedText = QStringLiteral("Loggen er tom");
const QString helpWrittenText = QStringLiteral("Hjelpeteksten står i loggen");
const QString testEndedText = QStringLiteral("Testen er ferdig");
// How much darker the selected mode's button face is than a button's usual face.
constexpr int selectedFaceDarker = 115;

} // namespace

void Form1Accessibility::install()
{
    // On Linux the toolkit names a combo box by the text it shows; this names it as elsewhere.
    NamedComboBoxAccessible::install();
    LineEditAccessible::install();
    Announcement::install();
    QuietAccessibility::install();
}

Form1Accessibility::Form1Accessibility(const Form1Ui &ui)
    : m_ui(ui)
{
    nameField(ui.Label2, ui.txtComFra, QStringLiteral("COM fra"));
    nameField(ui.Label3, ui.txtComTil, QStringLiteral("COM til"));
    nameField(ui.Label4, ui.comboHastighet, QStringLiteral("Hastighet"));
    nameField(ui.Label6, ui.txtPause, QStringLiteral("Pause (ms)"));
    nameField(ui.Label7, ui.txtIP, QStringLiteral("IP-adresse"));
    nameField(nullptr, ui.txtResultat, QStringLiteral("Logg"));

    // The selected mode's button is switched off, which the toolkit draws in grey on grey and
    // screen readers call unavailable. Switched off, a mode button reads as selected instead:
    // its caption in the usual text colour on a darker face, pressed in.
    for (QPushButton *modeButton : {ui.cmdCom, ui.cmdTCP}) {
        QPalette palette = modeButton->palette();
        palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                         palette.color(QPalette::Active, QPalette::ButtonText));
        palette.setColor(
            QPalette::Disabled, QPalette::Button,
            palette.color(QPalette::Active, QPalette::Button).darker(selectedFaceDarker));
        modeButton->setPalette(palette);
    }
}

void Form1Accessibility::showSelectedMode(bool serial) const
{
    m_ui.cmdCom->setAccessibleDescription(serial ? selectedModeText : networkSelectedText);
    m_ui.cmdTCP->setAccessibleDescription(serial ? serialSelectedText : selectedModeText);
}

void Form1Accessibility::announceCopied() const
{
    m_ui.announcer->announce(copiedText);
}

void Form1Accessibility::announceCleared() const
{
    m_ui.announcer->announce(clearedText);
}

void Form1Accessibility::announceHelpWritten() const
{
    m_ui.announcer->announce(helpWrittenText);
}

void Form1Accessibility::announceStart(const QString &text) const
{
    m_ui.announcer->announce(text);
}

void Form1Accessibility::testStarts() const
{
    QuietAccessibility::setQuiet(m_ui.txtResultat, true);
    m_ui.txtResultat->placeCaretAtLine(m_ui.txtResultat->logText().size());
}

void Form1Accessibility::testEnded(const QString &verdict, qsizetype verdictAt) const
{
    LogBox *log = m_ui.txtResultat;
    // Still quiet: the caret is placed for the user's next question, not told now.
    log->placeCaretAtLine(verdictAt < 0 ? log->logText().size() : verdictAt);
    QuietAccessibility::setQuiet(log, false);
    // Screen readers speak neither the lines added to the log nor the focus that the switched
    // off test button passes on in time: the verdict, which stands a few lines above the end,
    // is announced instead.
    m_ui.announcer->announce(verdict.isEmpty() ? testEndedText : verdict);
}

void Form1Accessibility::announceLogged(const QString &text) const
{
    m_ui.announcer->announce(text);
}
