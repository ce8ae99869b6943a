#include "app/commandline.h"

#include <QCommandLineParser>

#include <string_view>

namespace commandline {

Request requested(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({ help, version });
    (void)parser.parse(arguments); // unknown options are the toolkit's
    for (const QString &name : parser.optionNames()) {
        if (version.names().contains(name))
            return Request::Version;
        if (help.names().contains(name))
            return Request::Help;
    }
    return Request::OpenWindow;
}

bool someDisplayNamed(int argc, const char *const *argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view option = argv[i];
        if (option.starts_with("--"))
            option.remove_prefix(1);
        if (option == "-platform" || option == "-display")
            return true;
    }
    for (const char *name : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" })
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    return false;
}

} // namespace commandline
