#include "app.h"

#include "accessibility.h"
#include "fonts.h"
#include "frmmain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

void noDisplay()
{
    std::fputs("phone-fortune: 无法打开窗口：找不到图形桌面 (no display available)\n", stderr);
}

// While the toolkit looks for a display, its messages are held back. If it
// fails for want of one, one clear line replaces them; if it fails for
// another reason, that reason is shown after a line of our own; otherwise
// they are passed on.
struct HeldMessage
{
    QtMsgType type;
    QString category;
    QString text;
};
std::vector<HeldMessage> heldMessages;
QtMessageHandler defaultHandler = nullptr;

bool saysDisplayUnreachable(const HeldMessage &message)
{
    return message.category == QLatin1StringView("qt.qpa.xcb")
        && message.text.contains(QLatin1StringView("could not connect to display"));
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    heldMessages.push_back({ type, QString::fromUtf8(context.category), message });
    if (type != QtFatalMsg)
        return;
    if (std::any_of(heldMessages.cbegin(), heldMessages.cend(), saysDisplayUnreachable)) {
        noDisplay();
    } else {
        std::fputs("phone-fortune: 无法打开窗口 (cannot open the window):\n", stderr);
        for (const HeldMessage &held : heldMessages)
            std::fprintf(stderr, "%s\n", qUtf8Printable(held.text.trimmed()));
    }
    std::_Exit(EXIT_FAILURE);
}

bool someDisplayNamed()
{
    for (const char *name : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" })
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    return false;
}

} // namespace

void configureApplication()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.PhoneFortune"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    fonts::installSubstitutions();
    installAccessibility();

    // The toolkit's own texts (the text boxes' context menus) in Chinese, like
    // the rest of the window, whatever the desktop's language.
    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

int runProgram(int argc, char **argv)
{
    if (!someDisplayNamed()) {
        noDisplay();
        return EXIT_FAILURE;
    }

    defaultHandler = qInstallMessageHandler(holdMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(defaultHandler);
    for (const HeldMessage &held : std::exchange(heldMessages, {}))
        qt_message_output(held.type, QMessageLogContext(), held.text);

    configureApplication();
    frmmain window;
    window.show();
    return app.exec();
}
