#include "app/StartupArguments.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kNewWindow = QStringLiteral("new-window");

QString OptionAsWritten(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

} // namespace

StartupArguments ParseStartupArguments(const QStringList& arguments, const QString& currentDir) {
    QCommandLineParser parser;
    // "-foo" is one option named foo, not -f -o -o; "--" ends the options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(kNewWindow));
    parser.addPositionalArgument(QStringLiteral("files"), QString());

    StartupArguments result;
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        for (const QString& name : unknown)
            result.notes.append(QStringLiteral("unknown option %1 is ignored (see kelvaro --help)")
                                    .arg(OptionAsWritten(name)));
        if (unknown.isEmpty())
            result.notes.append(parser.errorText());
    }
    result.newWindow = parser.isSet(kNewWindow);

    const QDir base(currentDir);
    for (const QString& argument : parser.positionalArguments()) {
        const QFileInfo info(base, argument);
        if (info.isDir()) {
            result.notes.append(
                QStringLiteral("%1 is a folder, not a data file; it is not opened").arg(argument));
            continue;
        }
        result.files.append(QDir::cleanPath(info.absoluteFilePath()));
    }
    return result;
}
