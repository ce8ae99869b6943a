#include "app/console.h"

#include "app/utf8locale.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <optional>
#include <string>

namespace {

// The encoding texts are written in; empty for UTF-8, which needs no
// conversion.
std::string &encoding()
{
    static std::string name;
    return name;
}

// text converted to the encoding, or nothing where some character cannot be
// shown in it (or the conversion is unknown).
std::optional<std::string> converted(std::string_view text, const std::string &to)
{
    const iconv_t conversion = iconv_open(to.c_str(), "UTF-8");
    // iconv_open's failure value, by its interface, is (iconv_t)-1.
    if (conversion == iconv_t(-1)) // NOLINT(performance-no-int-to-ptr)
        return std::nullopt;
    std::string result(text.size() * 4 + 16, '\0');
    char *in = const_cast<char *>(text.data()); // iconv's signature; it only reads
    std::size_t inLeft = text.size();
    char *out = result.data();
    std::size_t outLeft = result.size();
    const bool whole = iconv(conversion, &in, &inLeft, &out, &outLeft) != std::size_t(-1)
        && iconv(conversion, nullptr, nullptr, &out, &outLeft) != std::size_t(-1);
    iconv_close(conversion);
    if (!whole)
        return std::nullopt;
    result.resize(result.size() - outLeft);
    return result;
}

void put(std::FILE *stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}

} // namespace

namespace console {

void useEncoding(std::string_view codeset)
{
    encoding() = isUtf8(codeset) ? std::string() : std::string(codeset);
}

void write(std::FILE *stream, std::string_view bilingual, std::string_view english)
{
    if (encoding().empty()) {
        put(stream, bilingual);
        return;
    }
    const std::optional<std::string> text = converted(bilingual, encoding());
    put(stream, text ? std::string_view(*text) : english);
}

void writeForeign(std::FILE *stream, std::string_view utf8)
{
    if (encoding().empty()) {
        put(stream, utf8);
        return;
    }
    const std::optional<std::string> text = converted(utf8, encoding() + "//TRANSLIT");
    put(stream, text ? std::string_view(*text) : std::string_view("?\n"));
}

bool flushOutput()
{
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0)
        return true;
    const int error = errno;
    const std::string reason = std::strerror(error);
    write(stderr, "phone-fortune: 写入失败 (write error): " + reason + "\n",
        "phone-fortune: write error: " + reason + "\n");
    return false;
}

} // namespace console
