// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

const QString programName = QStringLiteral("framewright");

struct ToolkitOption
{
    const char* name;
    bool takesValue;
    bool joinedValue; // also given as -name=value
};

// What QCoreApplication, QGuiApplication, QApplication and the X11 platform of Qt 6.4 take out
// of the arguments themselves; each is also accepted with two leading dashes.
constexpr ToolkitOption toolkitOptions[] = {
    { "platform", true, false },
    { "platformpluginpath", true, false },
    { "platformtheme", true, false },
    { "plugin", true, false },
    { "qwindowgeometry", true, false },
    { "qwindowicon", true, false },
    { "qwindowtitle", true, false },
    { "session", true, false },
    { "reverse", false, false },
    { "testability", false, false },
    { "qmljsdebugger", true, true },
    { "style", true, true },
    { "stylesheet", true, true },
    { "widgetcount", false, false },
    { "qdevel", false, false },
    { "qdebug", false, false },
    { "display", true, false },
    { "geometry", true, false },
    { "title", true, false },
    { "icon", true, false },
    { "name", true, false },
    { "visual", true, false },
    { "nograb", false, false },
    { "dograb", false, false },
};

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Without an application object the parser cannot know the program's name; the path it was
// started from would not be the name either. The synopsis names the one option that matters.
QString helpText(const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    const qsizetype firstLineEnd = text.indexOf(QLatin1Char('\n'));
    text.replace(0, firstLineEnd, QStringLiteral("Usage: %1 [--watch] [DIR...]").arg(programName));
    return text
        + QStringLiteral(
            "\nA folder dropped onto the window from a file manager (or any file inside one) is\n"
            "taken as a DIR given here: it goes to the top of the style box and is loaded.\n"
            "\nThe standard options of Qt are accepted as well, such as -platform, -style,\n"
            "-display and -geometry.\n");
}

// One line naming the directory as it was given, and no usage: the options were fine.
int refuseDir(const QByteArray& given, const QByteArray& reason)
{
    const QByteArray line = programName.toUtf8() + ": " + given + ": " + reason + "\n";
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    return 2;
}

// Why path is no directory to read a style from, in the system's words; empty when it is one.
QByteArray whyNoDirectory(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::strerror(errno);
    if (!S_ISDIR(info.st_mode))
        return std::strerror(ENOTDIR);
    return {};
}

int usageError(const QCommandLineParser& parser, const QString& message)
{
    print(stderr, programName + QStringLiteral(": ") + message + QStringLiteral("\n\n"));
    print(stderr, helpText(parser));
    return 2;
}

} // namespace

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QString styleDirText(const QString& path, const QString& workingDir)
{
    QString text = QDir::cleanPath(QDir(workingDir).absoluteFilePath(path));
    if (!text.endsWith(QLatin1Char('/')))
        text += QLatin1Char('/');
    return text;
}

// The toolkit option an argument is, if any; joined when its value follows an '='.
const ToolkitOption* toolkitOptionOf(const QString& argument, bool& joined)
{
    // Qt reads "--name" as "-name", the same as a single dash.
    const QString name = argument.startsWith(QLatin1String("--")) ? argument.mid(2)
        : argument.startsWith(QLatin1Char('-'))                   ? argument.mid(1)
                                                                  : QString();
    for (const ToolkitOption& option : toolkitOptions) {
        const QLatin1String optionName(option.name);
        joined = option.joinedValue && name.startsWith(optionName + QLatin1Char('='));
        if (name == optionName || joined)
            return &option;
    }
    return nullptr;
}

// The arguments left to the program once the toolkit's own options and their values are out.
struct OwnArguments
{
    QStringList text;
    QList<QByteArray> raw;
    QString missingValueAfter; // a toolkit option that ends the line without its value
};

OwnArguments ownArguments(const QStringList& arguments, const QList<QByteArray>& rawArguments)
{
    OwnArguments own { { arguments.first() }, { rawArguments.first() }, {} };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        bool joined = false;
        const ToolkitOption* toolkit = toolkitOptionOf(arguments.at(i), joined);
        if (!toolkit) {
            own.text << arguments.at(i);
            own.raw << rawArguments.at(i);
        } else if (toolkit->takesValue && !joined && ++i >= arguments.size()) {
            own.missingValueAfter = arguments.at(i - 1);
        }
    }
    return own;
}

// None of the program's options takes a value, so the DIRs are the arguments that are no
// option, and everything after "--"; their own bytes are checked, not the converted text.
std::variant<int, QStringList> styleDirsOf(
    const QList<QByteArray>& ownRaw, const QString& workingDir)
{
    QStringList dirs;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < ownRaw.size(); ++i) {
        const QByteArray& raw = ownRaw.at(i);
        if (!optionsEnded && raw == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && raw.startsWith('-') && raw != "-")
            continue;
        if (!isValidUtf8(raw))
            return refuseDir(raw, "not valid UTF-8");
        const QString dir
            = raw.isEmpty() ? QString() : styleDirText(QString::fromUtf8(raw), workingDir);
        const QByteArray reason
            = dir.isEmpty() ? QByteArray(std::strerror(ENOENT)) : whyNoDirectory(dir);
        if (!reason.isEmpty())
            return refuseDir(raw, reason);
        dirs << dir;
    }
    return dirs;
}

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Shows a window-frame style of an X11 desktop as the desktop would draw it: two\n"
        "sample windows composed from the style's bitmaps, a live minimize button, the\n"
        "style's elements and a bitmap pane. It reads the styles in the directories given\n"
        "and in its three fixed style directories, and writes nothing."));
    parser.addPositionalArgument(QStringLiteral("DIR"),
        QStringLiteral("A style directory of your own, such as a checkout of the style you are "
                       "drawing. The DIRs go to the top of the style box in the order given, "
                       "and the first one is shown at start."),
        QStringLiteral("[DIR...]"));
    // One dash as in Qt's own options: -help is --help, and an unknown -word is named whole.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

std::variant<int, StartOptions> handleCommandLine(
    const QList<QByteArray>& rawArguments, const QString& workingDir)
{
    if (rawArguments.size() <= 1)
        return StartOptions();

    QStringList arguments;
    for (const QByteArray& raw : rawArguments)
        arguments << QString::fromLocal8Bit(raw);

    QCommandLineParser parser;
    describe(parser);
    const QCommandLineOption watch(QStringLiteral("watch"),
        QStringLiteral("Reload the style shown whenever its files change on disk, once they "
                       "have been left alone for a quarter of a second. The errors of those "
                       "reloads show in the status bar instead of a message box."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption(watch);

    const OwnArguments own = ownArguments(arguments, rawArguments);
    if (!own.missingValueAfter.isEmpty())
        return usageError(
            parser, QStringLiteral("Missing value after '%1'.").arg(own.missingValueAfter));
    if (!parser.parse(own.text))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        print(stdout, helpText(parser));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, programName + QStringLiteral(" ") + QStringLiteral(FRAMEWRIGHT_VERSION "\n"));
        return 0;
    }
    std::variant<int, QStringList> dirs = styleDirsOf(own.raw, workingDir);
    if (const int* status = std::get_if<int>(&dirs))
        return *status;
    StartOptions options;
    options.watch = parser.isSet(watch);
    options.styleDirs = std::get<QStringList>(dirs);
    return options;
}
