#include "utf8locale.h"

#include <array>
#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <string>
#include <strings.h>

namespace {

// Applies the environment's locale, as the toolkit does when it starts, and
// says whether its character type is UTF-8.
bool environmentIsUtf8()
{
    std::setlocale(LC_ALL, "");
    const char *codeset = nl_langinfo(CODESET);
    return strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0;
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

struct Category
{
    int id;
    const char *name;
};
// glibc's categories, all but LC_ALL.
constexpr std::array kCategories { Category { LC_CTYPE, "LC_CTYPE" },
    Category { LC_NUMERIC, "LC_NUMERIC" }, Category { LC_TIME, "LC_TIME" },
    Category { LC_COLLATE, "LC_COLLATE" }, Category { LC_MONETARY, "LC_MONETARY" },
    Category { LC_MESSAGES, "LC_MESSAGES" }, Category { LC_PAPER, "LC_PAPER" },
    Category { LC_NAME, "LC_NAME" }, Category { LC_ADDRESS, "LC_ADDRESS" },
    Category { LC_TELEPHONE, "LC_TELEPHONE" }, Category { LC_MEASUREMENT, "LC_MEASUREMENT" },
    Category { LC_IDENTIFICATION, "LC_IDENTIFICATION" } };

} // namespace

void useUtf8Locale()
{
    if (environmentIsUtf8())
        return;
    const std::string utf8 = utf8CharacterType();
    if (utf8.empty())
        return; // none to switch to: the toolkit's warning then says so
    // LC_ALL would override the character type: it is spelt out instead,
    // category by category.
    if (const char *all = std::getenv("LC_ALL"); all != nullptr && *all != '\0') {
        for (const Category &category : kCategories)
            setenv(category.name, all, 1);
        unsetenv("LC_ALL");
    }
    setenv("LC_CTYPE", utf8.c_str(), 1);
    if (environmentIsUtf8())
        return;
    // Some category names a locale the system lacks, and so the whole
    // environment's locale fails to load: the categories are named as they
    // stand now (the C locale), with the UTF-8 character type.
    for (const Category &category : kCategories)
        if (category.id != LC_CTYPE)
            setenv(category.name, std::setlocale(category.id, nullptr), 1);
    setenv("LC_CTYPE", utf8.c_str(), 1);
    environmentIsUtf8();
}
