// The option store's reading. The input is written as the options file under
// a fresh XDG_CONFIG_HOME; then every option of the three tabs is read.
// Reading must give usable values (flags 0 or 1, numbers that read back as
// their text, texts that are GBK without a NUL), must never lose the file (it is
// either left as it was or set aside whole as ".corrupt"), and the string
// tab's stored options must make rows or be refused with a message.
#include "core/config_store.h"
#include "fuzz/fuzz_support.h"
#include "gen/string_gen.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void checkText(const std::string& text, const std::string& key)
{
    fuzz::check(text.find('\0') == std::string::npos, "stored text holds a NUL", key);
    fuzz::check(fuzz::isValidGbk(text), "stored text is not GBK", key);
}

void readEverything(CCore& core)
{
    for (const OptionDef& d : opt::kAll) {
        if (d.kind == OptionKind::Flag) {
            const int b = core.getConfigB(d);
            fuzz::check(b == 0 || b == 1, "flag is neither 0 nor 1", d.key);
        } else if (d.kind == OptionKind::Int) {
            const int n = core.getConfigInt(d);
            fuzz::check(core.getConfigStr(d) == std::to_string(n), "a number reads back as other text", d.key);
        } else {
            checkText(core.getConfigStr(d), d.key);
        }
    }

    // The string tab's stored options, as the tab and --from-settings use them.
    StringSettings s;
    startFields<StringSettings>(s, kStringOptions, &core.store());
    if (const auto invalid = s.validate()) {
        fuzz::check(!invalid->message.empty(), "stored string options refused without a message");
        return;
    }
    s = s.forRun();
    s.count = 1;
    s.lenMax = std::min(s.lenMax, 2000);
    s.lenMin = std::min(s.lenMin, s.lenMax);
    const CString row = makeRun(s, g_core->random());
    fuzz::check(row.find('\0') == std::string::npos, "a NUL from the store reached a row", row);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static QTemporaryDir root;
    static unsigned long serial = 0;
    // A new folder per input, so no cached copy of an earlier file is read.
    const QString home = root.filePath(QString::number(++serial));
    QDir().mkpath(home + QStringLiteral("/Kelvane"));
    setenv("XDG_CONFIG_HOME", QFile::encodeName(home).constData(), 1);
    const QString file = home + QStringLiteral("/Kelvane/Kelvane.ini");
    const QByteArray original(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile f(file);
        fuzz::check(f.open(QIODevice::WriteOnly) && f.write(original) == original.size() && f.flush(),
                    "cannot write the options file for the test");
    }

    {
        CoreOptions o;
        const QByteArray app = home.toUtf8();
        o.appPath = app.constData();
        o.random = std::make_unique<RandomGen>(RandomGen::seeded("kelvane-fuzz"));
        CCore core(std::move(o));
        CCore* previous = g_core;
        g_core = &core;
        readEverything(core);
        g_core = previous;
    }

    // Reading alone must not lose the file: it is as it was (a leading
    // byte-order mark may be dropped), or kept whole beside it.
    const QString aside = file + QStringLiteral(".corrupt");
    const QByteArray now = readAll(file);
    const bool unchanged = now == original || (original.startsWith("\xEF\xBB\xBF") && now == original.mid(3));
    const bool keptAside = QFile::exists(aside) && readAll(aside) == original;
    fuzz::check(unchanged || keptAside, "reading the options lost the file");
    QDir(home).removeRecursively();
    return 0;
}
