#include "app/utf8locale.h"

#include <array>
#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <strings.h>

namespace {

// The locale that names the character type, as glibc looks it up.
std::string_view characterTypeLocale()
{
    for (const char *variable : { "LC_ALL", "LC_CTYPE", "LANG" })
        if (const char *value = std::getenv(variable); value != nullptr && *value != '\0')
            return value;
    return "C";
}

// The encoding a locale's name says after its dot (zh_CN.GB18030@modifier),
// or ASCII's where it says none.
std::string codesetNamed(std::string_view name)
{
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return "ANSI_X3.4-1968";
    return std::string(name.substr(dot + 1, name.find('@', dot) - dot - 1));
}

// The UTF-8 form of the character type now in use that this system has, or
// an empty string when it has none at all.
std::string utf8CharacterType()
{
    std::string name = std::setlocale(LC_CTYPE, nullptr);
    name = name.substr(0, name.find_first_of(".@")) + ".UTF-8";
    for (const std::string &candidate : { name, std::string("C.UTF-8"), std::string("C.utf8") })
        if (std::setlocale(LC_CTYPE, candidate.c_str()) != nullptr)
            return candidate;
    return {};
}

// glibc's categories, all but LC_ALL.
constexpr std::array kCategories { "LC_CTYPE", "LC_NUMERIC", "LC_TIME", "LC_COLLATE", "LC_MONETARY",
    "LC_MESSAGES", "LC_PAPER", "LC_NAME", "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT",
    "LC_IDENTIFICATION" };

} // namespace

EnvironmentLocale applyEnvironmentLocale()
{
    if (std::setlocale(LC_ALL, "") != nullptr)
        return { true, nl_langinfo(CODESET) };
    // Some category names a locale the system lacks. Its character type may
    // still be there, with an encoding its name need not say (zh_CN is
    // GB2312): asked for alone, then put back to C's.
    if (std::setlocale(LC_CTYPE, "") != nullptr) {
        EnvironmentLocale partly { false, nl_langinfo(CODESET) };
        std::setlocale(LC_CTYPE, "C");
        return partly;
    }
    return { false, codesetNamed(characterTypeLocale()) };
}

bool isUtf8(std::string_view codeset)
{
    const std::string name(codeset);
    return strcasecmp(name.c_str(), "UTF-8") == 0 || strcasecmp(name.c_str(), "utf8") == 0;
}

void useUtf8Locale(const EnvironmentLocale &environment)
{
    if (environment.loaded && isUtf8(environment.codeset))
        return;
    const std::string utf8 = utf8CharacterType();
    if (utf8.empty())
        return; // none to switch to: the toolkit's warning then says so
    // LC_ALL would override the character type: it is spelt out instead,
    // category by category.
    if (const char *all = std::getenv("LC_ALL"); all != nullptr && *all != '\0') {
        for (const char *category : kCategories)
            setenv(category, all, 1);
        unsetenv("LC_ALL");
    }
    setenv("LC_CTYPE", utf8.c_str(), 1);
    // Where some category names a locale the system lacks, the environment's
    // locale fails to load as a whole, in the toolkit too, and the program
    // keeps the UTF-8 character type it now has.
}
