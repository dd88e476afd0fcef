#include "helptext.h"

namespace HelpText {

QStringList serialGuide()
{
    return {
        QStringLiteral(
            "Serieportskriver. (klikk på hjelp med nettverksskriver valgt for hjelp om den)"),
        QString(),
        QStringLiteral("Dette programmet er laget for å teste om en SATO etikettskriver er "),
        QStringLiteral(
            "tilkoplet til serieporten (COM). Oppgi hvilken hastighet du ønsker å prøve"),
        QStringLiteral("og hvilke COM-porter som skal testes. Programmet sender så en kommando"),
        QStringLiteral("til skriveren og viser resultatet i dette feltet."),
        QStringLiteral("Skriveren vil kun svare dersom hastigheten er korrekt, og stemmer med hva"),
        QStringLiteral("skriveren er konfigurert til (normalt 19200 eller 9600)."),
        QStringLiteral("Dersom du er usikker på hvilke COM-porter du har, kan du legge inn"),
        QStringLiteral("fra 1 til 16 først, dersom det ikke gir resultat prøv med 1 til 256"),
        QStringLiteral("Prøv først med hastighet 19200 deretter med hastighet 9600"),
        QStringLiteral(
            "Dersom skriveren svarer med en kjent kode vil det vises en tekst i loggen."),
        QStringLiteral(
            "Dataene som kommer fra skriveren vises også i vinduet, dette er informasjon"),
        QStringLiteral("Kvanta har nytte av for å fastslå hva som er galt"),
        QString(),
        QStringLiteral("Oppsummering:"),
        QStringLiteral(" - Sørg for at skriver er skrudd på og koplet til PC med en seriekabel"),
        QStringLiteral(" - Klikk på Test skriver-knappen og se om det kommer svar fra skriver"),
        QStringLiteral(
            "   (Det vil si at det står noe mellom --> og <-- her i 'Data fra printer =  --><--')"),
        QStringLiteral(" - Prøv først med hastighet 19200, så med hastighet 9600"),
        QStringLiteral(
            " - Dersom dette ikke gir resultater, endre 'com til' til 256 og prøv igjen"),
        QStringLiteral(" - Dersom dette ikke gir resultater, kan du prøve flere hastigheter"),
        QStringLiteral(" - Send loggen (fra dette vinduet) til din kontakt på Kvanta for analyse"),
    };
}

QStringList networkGuide()
{
    return {
        QStringLiteral("Nettverksskriver. (Klikk på hjelp med serieport valgt for hjelp om den)"),
        QString(),
        QStringLiteral("Dette programmet er laget for å teste om en SATO etikettskriver er "),
        QStringLiteral("tilkoplet nettverket slik at den vil fungere med Solvarn"),
        QStringLiteral("Printeren må først settes opp ihht veiledning fra leverandøren"),
        QStringLiteral("slik at den får korrekt IP-adresse. Legg så denne IP-adressen inn"),
        QStringLiteral("i feltet for IP-adresse og klikk på Test skriver-knappen"),
        QStringLiteral("Eventuelle feilmeldinger vil vises i dette statusvinduet."),
        QString(),
        QStringLiteral("Solvarn kommuniserer med printeren på port 1025 (inn) og 1024 (ut)"),
        QStringLiteral("så disse portene må være åpne i en eventuellbrannmur mellom maskinen"),
        QStringLiteral("som skal nå skriveren og skriveren"),
    };
}

} // namespace HelpText
