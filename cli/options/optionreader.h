#ifndef OPTIONREADER_H
#define OPTIONREADER_H

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>

// What a parser of the check's or find's options ends with: run, show the help or the version,
// or a usage error with its text.
struct CommandLineOptions
{
    enum class Action { Run, Help, Version, Error };

    Action action = Action::Error;
    QString helpText;
    QString error;

    // Run with no error, else the usage error.
    void conclude(const QString &firstError);
};

// The skeleton that the check's and find's option parsers share: the options with their help
// text, reading the arguments, and the help, version and error ends a reading can come to.
class OptionReader
{
public:
    OptionReader(const QString &description, const QList<QCommandLineOption> &options);

    void addPositionalArgument(const QString &name, const QString &description,
                               const QString &syntax = QString());
    // The help with usage in place of its first line: the program's name, not the path it was
    // started by.
    QString helpText(const QString &usage) const;

    // Reads the arguments (the program's name first). Whether the options are to be read on:
    // not after a usage error, nor when help or the version is asked for, which ends options
    // with that action.
    bool read(const QStringList &arguments, CommandLineOptions &options,
              const QCommandLineOption &help, const QCommandLineOption *version = nullptr);

    bool isSet(const QCommandLineOption &option) const;
    // Set with a value that is not blank: an empty value is the option left out, as a
    // monitoring engine passes an unset macro (-w '' is no threshold).
    bool given(const QCommandLineOption &option) const;
    QString value(const QCommandLineOption &option) const;
    QStringList positionalArguments() const;
    // How often the option was given, by any of its names (-vv -v is three).
    int count(const QCommandLineOption &option) const;
    // The first of the options that was given at all, or none.
    const QCommandLineOption *
    firstSet(std::initializer_list<const QCommandLineOption *> options) const;

private:
    QCommandLineParser m_parser;
};

// Runs the reading steps in order up to the first that finds a usage error, and returns that
// error; empty when none did.
QString firstError(std::initializer_list<std::function<QString()>> steps);

#endif // OPTIONREADER_H
