#include "app.h"

#include "fonts.h"
#include "frmmain.h"
#include "imagearea.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

void noDisplay()
{
    std::fputs("phone-fortune: 无法打开窗口：找不到图形桌面 (no display available)\n", stderr);
}

// While the toolkit looks for a display, its messages are held back: if it
// finds none, one clear line replaces them; otherwise they are passed on.
std::vector<std::pair<QtMsgType, QString>> heldMessages;
QtMessageHandler defaultHandler = nullptr;

void holdMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        noDisplay();
        std::_Exit(EXIT_FAILURE);
    }
    heldMessages.emplace_back(type, message);
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
    ImageArea::installAccessibility();

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
    for (const auto &[type, message] : std::exchange(heldMessages, {}))
        qt_message_output(type, QMessageLogContext(), message);

    configureApplication();
    frmmain window;
    window.show();
    return app.exec();
}
