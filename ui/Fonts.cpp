#include "ui/Fonts.h"

#include <QFont>
#include <QStringList>

#include <thread>

#if __has_include(<dlfcn.h>)
#include <dlfcn.h>
#endif

namespace {

// The reading started by startReadingFonts(), joined before Qt reads fonts
// itself (and at exit, should nobody have waited for it).
struct FontReading {
    std::thread thread;
    ~FontReading() { wait(); }
    void wait()
    {
        if (thread.joinable())
            thread.join();
    }
};

FontReading &fontReading()
{
    static FontReading reading;
    return reading;
}

} // namespace

void startReadingFonts()
{
#if __has_include(<dlfcn.h>)
    // Qt's own fontconfig, if it has one: the program itself never links it.
    // FcInit() loads the configuration once per process and is thread-safe;
    // Qt's later call finds it loaded.
    using Init = int (*)();
    if (const auto fcInit = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit")); fcInit && !fontReading().thread.joinable())
        fontReading().thread = std::thread(fcInit);
#endif
}

void installFontSubstitutions()
{
    fontReading().wait();
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"),
                               {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")});
}
