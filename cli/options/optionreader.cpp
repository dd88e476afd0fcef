#include "optionreader.h"

void CommandLineOptions::conclude(const QString &firstError)
{
    action = firstError.isEmpty() ? Action::Run : Action::Error;
    error = firstError;
}

OptionReader::OptionReader(const QString &description, const QList<QCommandLineOption> &options)
{
    m_parser.setApplicationDescription(description);
    m_parser.addOptions(options);
}

void OptionReader::addPositionalArgument(const QString &name, const QString &description,
                                         const QString &syntax)
{
    m_parser.addPositionalArgument(name, description, syntax);
}

QString OptionReader::helpText(const QString &usage) const
{
    QString text = m_parser.helpText();
    text.replace(0, text.indexOf(QLatin1Char('\n')), usage);
    return text;
}

bool OptionReader::read(const QStringList &arguments, CommandLineOptions &options,
                        const QCommandLineOption &help, const QCommandLineOption *version)
{
    if (!m_parser.parse(arguments)) {
        options.conclude(m_parser.errorText());
        return false;
    }
    if (m_parser.isSet(help)) {
        options.action = CommandLineOptions::Action::Help;
        return false;
    }
    if (version && m_parser.isSet(*version)) {
        options.action = CommandLineOptions::Action::Version;
        return false;
    }
    return true;
}

bool OptionReader::isSet(const QCommandLineOption &option) const
{
    return m_parser.isSet(option);
}

bool OptionReader::given(const QCommandLineOption &option) const
{
    return m_parser.isSet(option) && !m_parser.value(option).trimmed().isEmpty();
}

QString OptionReader::value(const QCommandLineOption &option) const
{
    return m_parser.value(option);
}

QStringList OptionReader::positionalArguments() const
{
    return m_parser.positionalArguments();
}

int OptionReader::count(const QCommandLineOption &option) const
{
    qsizetype times = 0;
    for (const QString &name : option.names())
        times += m_parser.optionNames().count(name);
    return int(times);
}

const QCommandLineOption *
OptionReader::firstSet(std::initializer_list<const QCommandLineOption *> options) const
{
    for (const QCommandLineOption *option : options) {
        if (m_parser.isSet(*option))
            return option;
    }
    return nullptr;
}

QString firstError(std::initializer_list<std::function<QString()>> steps)
{
    for (const std::function<QString()> &step : steps) {
        const QString error = step();
        if (!error.isEmpty())
            return error;
    }
    return QString();
}
