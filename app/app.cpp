#include "app/app.h"

#include "app/commandline.h"
#include "app/console.h"
#include "app/utf8locale.h"
#include "platform/windowwatch.h"
#include "window/controls/accessibility.h"
#include "window/fonts.h"
#include "window/frmmain.h"

#include <QAccessible>
#include <QApplication>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

void noDisplay()
{
    console::write(stderr, "phone-fortune: 无法打开窗口：找不到图形桌面 (no display available)\n",
        "phone-fortune: cannot open the window: no display available\n");
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

// The xcb platform plugin's warning (category qt.qpa.xcb) when it cannot reach
// the X server, matched by its text: "could not connect to display" in Qt
// 6.4.2, 6.8.2 and 6.11.2. tst_program's rows without a display fail should
// the wording change.
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
        console::write(stderr, "phone-fortune: 无法打开窗口 (cannot open the window):\n",
            "phone-fortune: cannot open the window:\n");
        for (const HeldMessage &held : heldMessages())
            console::writeForeign(stderr, (held.text.trimmed() + u'\n').toStdString());
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

// The English of a bilingual text, for a terminal that cannot show Chinese:
// a line in ASCII stays, a line in both languages ("--help  显示… / show…")
// keeps what stands before its Chinese and after the " / ", and a line in
// Chinese alone goes.
std::string englishOf(std::string_view bilingual)
{
    std::string english;
    while (!bilingual.empty()) {
        const std::size_t end = bilingual.find('\n');
        const std::string_view line
            = bilingual.substr(0, end == std::string_view::npos ? end : end + 1);
        bilingual.remove_prefix(line.size());
        const std::size_t chinese = std::string_view::size_type(
            std::find_if(line.begin(), line.end(), [](char c) { return c & 0x80; }) - line.begin());
        const std::size_t slash = line.find(" / ");
        if (chinese == line.size())
            english += line;
        else if (slash != std::string_view::npos)
            english.append(line.substr(0, chinese)).append(line.substr(slash + 3));
    }
    return english;
}

constexpr const char *kVersion = "phone-fortune " PHONE_FORTUNE_VERSION "\n";

// --help and --version, answered before any window is made: the exit status
// once one is answered, or nothing when the program goes on to open its
// window. A failed write fails the program.
std::optional<int> answerCommandLine(int argc, char **argv)
{
    const QCoreApplication core(argc, argv); // for the arguments, decoded
    switch (commandline::requested(QCoreApplication::arguments())) {
    case commandline::Request::OpenWindow:
        return std::nullopt;
    case commandline::Request::Version:
        console::write(stdout, kVersion, kVersion);
        break;
    case commandline::Request::Help:
        console::write(stdout, kHelp, englishOf(kHelp));
        break;
    }
    return console::flushOutput() ? EXIT_SUCCESS : EXIT_FAILURE;
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
    const EnvironmentLocale environment = applyEnvironmentLocale();
    console::useEncoding(environment.codeset);
    useUtf8Locale(environment);
    if (const std::optional<int> answered = answerCommandLine(argc, argv))
        return *answered;

    if (!commandline::someDisplayNamed(argc, argv)) {
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
