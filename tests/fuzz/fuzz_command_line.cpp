// The command line, read before any window is made: any arguments (the
// input split at NUL bytes), decoded as the toolkit decodes them.
#include "app/commandline.h"

#include "fuzz.h"
#include "input.h"

#include <algorithm>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::string> arguments { "phone-fortune" };
    arguments.emplace_back();
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            arguments.emplace_back();
        else
            arguments.back().push_back(char(data[i]));
    }
    std::vector<const char *> argv;
    QStringList decoded;
    for (const std::string &argument : arguments) {
        argv.push_back(argument.c_str());
        decoded.append(QString::fromLocal8Bit(argument));
    }
    argv.push_back(nullptr);

    const commandline::Request request = commandline::requested(decoded);
    // Only an argument that is one of the options (perhaps with a value,
    // which is ignored) asks for it.
    const auto given = [&decoded](const char *name) {
        const QString option = QLatin1StringView("--") + QLatin1StringView(name);
        return std::any_of(decoded.cbegin(), decoded.cend(), [&option](const QString &argument) {
            return argument == option || argument.startsWith(option + u'=');
        });
    };
    if (request == commandline::Request::Help)
        FUZZ_ASSERT(given("help"));
    if (request == commandline::Request::Version)
        FUZZ_ASSERT(given("version"));
    (void)commandline::someDisplayNamed(int(arguments.size()), argv.data());
    return 0;
}
