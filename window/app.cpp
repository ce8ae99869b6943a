#include "app.h"

#include "accessibility.h"
#include "fonts.h"
#include "frmmain.h"
#include "utf8locale.h"
#include "windowwatch.h"

#include <QAccessible>
#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
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
std::vector<HeldMessage> &heldMessages()
{
    static std::vector<HeldMessage> held;
    return held;
}
QtMessageHandler defaultHandler = nullptr;

bool saysDisplayUnreachable(const HeldMessage &message)
{
    return message.category == QLatin1StringView("qt.qpa.xcb")
        && message.text.contains(QLatin1StringView("could not connect to display"));
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    heldMessages().push_back({ type, QString::fromUtf8(context.category), message });
    if (type != QtFatalMsg)
        return;
    if (std::any_of(heldMessages().cbegin(), heldMessages().cend(), saysDisplayUnreachable)) {
        noDisplay();
    } else {
        std::fputs("phone-fortune: 无法打开窗口 (cannot open the window):\n", stderr);
        for (const HeldMessage &held : heldMessages())
            std::fprintf(stderr, "%s\n", qUtf8Printable(held.text.trimmed()));
    }
    std::_Exit(EXIT_FAILURE);
}

constexpr const char *kHelp = "\
用法：phone-fortune [--help] [--version]\n\
Usage: phone-fortune [--help] [--version]\n\
\n\
打开“手机号码吉祥如意测算”窗口：输入手机号码，测算它的吉凶。\n\
Opens the phone-number fortune window: type a mobile number to see its fortune.\n\
\n\
  --help     显示本帮助并退出 / show this help and exit\n\
  --version  显示版本并退出 / show the version and exit\n\
\n\
也接受 Qt 的标准选项，如 -platform。\n\
Qt's standard options, such as -platform, are accepted too.\n";

// Whether a platform or a display is named, where the toolkit looks for one:
// in its options -platform and -display (also spelt with two dashes), each
// followed by its value, or in the environment.
bool someDisplayNamed(int argc, char **argv)
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

// --help and --version, answered before any window is made, and so without a
// display: the exit status once one is answered (the first given), or nothing
// when the program goes on to open its window. The toolkit's own options
// (-platform xcb and the like) are unknown here and left to it.
std::optional<int> answerCommandLine(int argc, char **argv)
{
    const QCoreApplication core(argc, argv); // for the arguments, decoded
    QCommandLineParser parser;
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({ help, version });
    (void)parser.parse(QCoreApplication::arguments());
    for (const QString &name : parser.optionNames()) {
        if (version.names().contains(name)) {
            std::fputs("phone-fortune " PHONE_FORTUNE_VERSION "\n", stdout);
            return EXIT_SUCCESS;
        }
        if (help.names().contains(name)) {
            std::fputs(kHelp, stdout);
            return EXIT_SUCCESS;
        }
    }
    return std::nullopt;
}

// The toolkit's own texts in Chinese, like the rest of the window, whatever
// the desktop's language: the text boxes' context menus, and the names of the
// actions that assistive technology offers. They are loaded when first
// needed, so that a start-up does without them: when a context menu is asked
// for (by mouse or key, before the box makes its menu), or when assistive
// technology comes (at start-up too, if it is already there).
class ToolkitTranslation : public QObject, public QAccessible::ActivationObserver
{
public:
    explicit ToolkitTranslation(QObject *parent)
        : QObject(parent)
    {
        qApp->installEventFilter(this);
        QAccessible::installActivationObserver(this);
        if (QAccessible::isActive())
            load();
    }

    ~ToolkitTranslation() override { QAccessible::removeActivationObserver(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ContextMenu)
            load();
        return QObject::eventFilter(watched, event);
    }

    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            load();
    }

private:
    void load()
    {
        if (m_loaded)
            return;
        m_loaded = true;
        qApp->removeEventFilter(this);
        auto *translator = new QTranslator(qApp);
        if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }

    bool m_loaded = false;
};

} // namespace

void configureApplication()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.PhoneFortune"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    fonts::installSubstitutions();
    // The window's face for all the toolkit draws for it, its context menus
    // and tooltip too, whatever the desktop's face and locale: another face
    // would draw its Chinese thin, or in another language's forms.
    QApplication::setFont(fonts::window());
    installAccessibility();
    new ToolkitTranslation(qApp);
}

int runProgram(int argc, char **argv)
{
    useUtf8Locale();
    if (const std::optional<int> answered = answerCommandLine(argc, argv))
        return *answered;

    if (!someDisplayNamed(argc, argv)) {
        noDisplay();
        return EXIT_FAILURE;
    }

    defaultHandler = qInstallMessageHandler(holdMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(defaultHandler);
    for (const HeldMessage &held : std::exchange(heldMessages(), {}))
        qt_message_output(held.type, QMessageLogContext(), held.text);

    configureApplication();
    frmmain window;
    window.show();
    quitWhenDestroyedFromOutside(&window);
    return app.exec();
}
