// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <cstdio>

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
// started from would not be the name either.
QString helpText(const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), programName);
    return text
        + QStringLiteral("\nThe standard options of Qt are accepted as well, such as -platform, "
                         "-style,\n-display and -geometry.\n");
}

int usageError(const QCommandLineParser& parser, const QString& message)
{
    print(stderr, programName + QStringLiteral(": ") + message + QStringLiteral("\n\n"));
    print(stderr, helpText(parser));
    return 2;
}

} // namespace

std::optional<int> handleCommandLine(const QStringList& arguments)
{
    if (arguments.size() <= 1)
        return std::nullopt;

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a window-frame style of an X11 desktop as the desktop would draw it: "
                       "two\nsample windows composed from the style's bitmaps, a live minimize "
                       "button, the\nstyle's elements and a bitmap pane. It reads the styles in "
                       "its three fixed style\ndirectories and writes nothing."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Displays this help."));
    // One dash as in Qt's own options: -help is --help, and an unknown -word is named whole.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();

    QStringList own { arguments.first() };
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        // Qt reads "--name" as "-name", the same as a single dash.
        const QString name = argument.startsWith(QLatin1String("--")) ? argument.mid(2)
            : argument.startsWith(QLatin1Char('-'))                   ? argument.mid(1)
                                                                      : QString();
        const ToolkitOption* toolkit = nullptr;
        bool joined = false;
        for (const ToolkitOption& option : toolkitOptions) {
            const QLatin1String optionName(option.name);
            if (name == optionName) {
                toolkit = &option;
                break;
            }
            if (option.joinedValue && name.startsWith(optionName + QLatin1Char('='))) {
                toolkit = &option;
                joined = true;
                break;
            }
        }
        if (!toolkit) {
            own << argument;
            continue;
        }
        if (toolkit->takesValue && !joined) {
            if (i + 1 >= arguments.size())
                return usageError(
                    parser, QStringLiteral("Missing value after '%1'.").arg(argument));
            ++i;
        }
    }

    if (!parser.parse(own))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        print(stdout, helpText(parser));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, programName + QStringLiteral(" ") + QStringLiteral(FRAMEWRIGHT_VERSION "\n"));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(parser,
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    return std::nullopt;
}
