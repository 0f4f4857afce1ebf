// The option store's reading. The input is written as the options file under
// a fresh XDG_CONFIG_HOME; then every option of the three tabs, and every key
// the file seems to name, is read. Reading must give usable values (flags 0
// or 1, texts that are GBK without a NUL), must never lose the file (it is
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

const char* const kFlags[] = {"isUCase", "isLCase", "isNum", "isHz", "isCharSpec", "isCharEx", "isInt", "isFloat",
                              "isProgram"};
const char* const kInts[] = {"len_min_str", "len_max_str", "count_str", "count_int", "xsw",
                             "min_delay", "max_delay",   "count_time"};
const char* const kTexts[] = {"head", "tail", "insertStr", "charSpec", "charExclude", "fileProgram"};

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

void readEverything(CCore& core, const fuzz::Lines& in)
{
    for (const char* key : kFlags) {
        const int b = core.getConfigB(key);
        fuzz::check(b == 0 || b == 1, "flag is neither 0 nor 1", key);
    }
    for (const char* key : kInts)
        core.getConfigInt(key);
    for (const char* key : kTexts)
        checkText(core.getConfigStr(key), key);
    // Keys the file names ("key=value" lines), as hand edits might add.
    for (std::size_t i = 0; i < 16; ++i) {
        const std::string& line = in[i];
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        if (const auto key = fuzz::utf8ToGbk(line.substr(0, eq))) {
            checkText(core.getConfigStr(*key), *key);
            const int b = core.getConfigB(*key);
            fuzz::check(b == 0 || b == 1, "flag is neither 0 nor 1", *key);
            core.getConfigInt(*key);
        }
    }

    // The string tab's stored options, as the tab and --from-settings use them.
    StringSettings s;
    s.isUCase = core.getConfigB("isUCase");
    s.isLCase = core.getConfigB("isLCase");
    s.isNum = core.getConfigB("isNum");
    s.isHz = core.getConfigB("isHz");
    s.isCharSpec = core.getConfigB("isCharSpec");
    s.isCharEx = core.getConfigB("isCharEx");
    s.head = core.getConfigStr("head");
    s.tail = core.getConfigStr("tail");
    s.insertStr = core.getConfigStr("insertStr");
    s.charSpec = core.getConfigStr("charSpec");
    s.charExclude = core.getConfigStr("charExclude");
    s.lenMin = core.getConfigInt("len_min_str");
    s.lenMax = core.getConfigInt("len_max_str");
    s.count = core.getConfigInt("count_str");
    CString message;
    if (!s.validate(&message)) {
        fuzz::check(!message.empty(), "stored string options refused without a message");
        return;
    }
    s.count = 1;
    s.lenMax = std::min(s.lenMax, 2000);
    s.lenMin = std::min(s.lenMin, s.lenMax);
    const CString row = makeRun(s);
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
        readEverything(core, fuzz::Lines(data, size));
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
