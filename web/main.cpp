// kelvane-web: the generators and the page's rules as WebAssembly, handed to
// the page's script (page.js) through embind. The script owns the document,
// the timers and the downloads; everything a row or a message depends on
// is decided here, by the same code as the window and kelvane-cli.
#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "core/gbk.h"
#include "core/soft.h"
#include "core/texts.h"
#include "gen/number_gen.h"
#include "gen/string_gen.h"
#include "gen/timed_run.h"
#include "platform/boxes.h"
#include "platform/presenter.h"
#include "res/templates.h"
#include "sys/web/gbk_table.h"
#include "ui/generator_dlg.h"
#include "ui/string_page.h"
#include "ui/texts.h"
#include "ui/timed_run_driver.h"
#include "web/block_run.h"
#include "web/page_rules.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>

using emscripten::val;

namespace {

// The page's boxes: the script shows them, modal within the page, one at a
// time. showBox returns at once; nothing in the page waits on a box.
class PageBoxes final : public BoxService {
public:
    void show(const BoxRequest& box) override
    {
        const char* kind = box.kind == BoxKind::Warning ? "warning" : box.kind == BoxKind::About ? "about" : "plain";
        val::module_property("showBox")(std::string(kind), box.caption, box.text);
    }
};

struct Page {
    std::unique_ptr<CCore> core;
    tagSoft soft{};
    StringSettings stringLast;
    TimeSettings timeLoaded;
    StringSettings stringRunSettings; // the run's own copy, alive while it goes
    std::unique_ptr<BlockRun> stringRun;
    std::optional<std::string> seed;       // the page's seed, if any
    std::unique_ptr<RandomGen> timeSource; // a seeded time run's intervals
};
Page& page()
{
    static Page p;
    return p;
}

void plainBox(const std::string& text)
{
    showBox(nullptr, BoxKind::Plain, std::string(), text);
}

Controls controlsFrom(const val& obj)
{
    Controls c;
    const val keys = val::global("Object").call<val>("keys", obj);
    const int n = keys["length"].as<int>();
    for (int i = 0; i < n; ++i) {
        const std::string key = keys[i].as<std::string>();
        c[std::atoi(key.c_str())] = obj[key].as<std::string>();
    }
    return c;
}

val controlsTo(const Controls& c)
{
    val obj = val::object();
    for (const auto& [id, value] : c)
        obj.set(std::to_string(id), value);
    return obj;
}

val bytesOf(const std::string& bytes)
{
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

// Shows the message in its box; true when there was one.
bool refused(const std::optional<PageMessage>& m)
{
    if (!m)
        return false;
    if (m->warning)
        g_core->msgboxWarning(nullptr, gbk::fromUtf8(m->text).value_or(m->text));
    else
        plainBox(m->text);
    return true;
}

// --- start ---------------------------------------------------------------

// The GBK table: 65536 little-endian 16-bit code points, from the script.
void setGbkTable(const std::string& bytes)
{
    if (bytes.size() != 2 * 65536)
        return;
    static std::uint16_t table[65536];
    for (std::size_t i = 0; i < 65536; ++i)
        table[i] = std::uint16_t(static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    gbkweb::setTable(table);
}

// Makes the core: the seed of the page's address keys every run, else the
// browser's secure source. The store is the browser's.
void start(bool seeded, const std::string& seed)
{
    Page& p = page();
    CoreOptions o;
    if (seeded)
        o.random = std::make_unique<RandomGen>(RandomGen::seeded(seed));
    p.core = std::make_unique<CCore>(std::move(o));
    if (seeded)
        p.seed = seed;
    g_core = p.core.get();
    g_core->setPresenter(&DialogPresenter::instance());
    fillSoft(&p.soft);
    g_soft = &p.soft;
}

val dialogOf(const DialogTemplate& t)
{
    val d = val::object();
    d.set("id", t.id);
    d.set("w", t.w);
    d.set("h", t.h);
    d.set("caption", std::string(t.caption));
    val controls = val::array();
    for (const ControlDef& c : t.controls) {
        val o = val::object();
        o.set("id", c.id);
        o.set("kind", int(c.kind));
        o.set("style", c.style);
        o.set("x", c.x);
        o.set("y", c.y);
        o.set("w", c.w);
        o.set("h", c.h);
        o.set("text", std::string(c.text));
        controls.call<void>("push", o);
    }
    d.set("controls", controls);
    return d;
}

// The control tables and the texts the script shows as they are.
val layout()
{
    val l = val::object();
    val pages = val::array();
    for (const DialogTemplate* t : {&kStringPageTemplate, &kNumberPageTemplate, &kTimePageTemplate})
        pages.call<void>("push", dialogOf(*t));
    l.set("main", dialogOf(kGeneratorDialogTemplate));
    l.set("pages", pages);
    val tabs = val::array(), descriptions = val::array();
    for (int i = 0; i < 3; ++i) {
        tabs.call<void>("push", std::string(utf8(tabLabel(i))));
        descriptions.call<void>("push", std::string(utf8(tabDescription(i))));
    }
    l.set("tabs", tabs);
    l.set("descriptions", descriptions);
    const CRect inset = CGeneratorDlg::kPageInset;
    l.set("inset", val::array(std::vector<int>{inset.left, inset.top, inset.right, inset.bottom}));
    l.set("boxRowLimit", CStringPage::kBoxRowLimit);
    val texts = val::object();
    for (auto [name, t] : {std::pair{"generating", Text::Generating}, {"generated", Text::Generated},
                           {"generatedToFile", Text::GeneratedToFile},
                           {"exportWhileGenerating", Text::ExportWhileGenerating},
                           {"nothingToExport", Text::NothingToExport}, {"exportCaption", Text::ExportCaption},
                           {"stringName", Text::StringExportName}, {"numberName", Text::NumberExportName},
                           {"timeName", Text::TimeExportName}})
        texts.set(name, std::string(utf8(t)));
    l.set("texts", texts);
    return l;
}

void about()
{
    g_core->uu(OPR_ABOUT, g_soft, "");
}

// --- the string tab --------------------------------------------------------

val loadString()
{
    Page& p = page();
    // The loaded values are what a box that cannot be read back falls back to.
    return controlsTo(web::loadStringPage(p.stringLast));
}

// Generate: reads and checks the controls; on success a run of `count`
// rows is ready for stringStep. Returns the count, or -1 after a message.
double stringGenerate(const val& controls)
{
    Page& p = page();
    if (refused(web::readStringPage(controlsFrom(controls), p.stringLast, true)))
        return -1;
    p.stringRun.reset();
    p.stringRunSettings = p.stringLast;
    const StringSettings& s = p.stringRunSettings;
    p.stringRun = std::make_unique<BlockRun>(g_core->random(), s.count,
                                             [&s](RandomGen& source) { return StringRowMaker(s, source); });
    return double(s.count);
}

// The next block of the run as GBK bytes, or null when the run is done.
val stringStep()
{
    Page& p = page();
    std::string block;
    if (!p.stringRun || !p.stringRun->step(block)) {
        p.stringRun.reset();
        return val::null();
    }
    return bytesOf(block);
}

// Drops the run under way (the page stops it).
void stringStop()
{
    page().stringRun.reset();
}

double stringRowsDone()
{
    return page().stringRun ? double(page().stringRun->rowsDone()) : 0;
}

// --- the number tab --------------------------------------------------------

// Generate: the rows as the box shows them (LF line ends), or null after a
// message.
val numberGenerate(const val& controls)
{
    NumberSettings s;
    if (refused(web::readNumberPage(controlsFrom(controls), s, true)))
        return val::null();
    BlockRun run(g_core->random(), s.count, [&s](RandomGen& source) { return NumberRowMaker(s, source); });
    std::string rows, block;
    rows.reserve(std::size_t(s.count) * 4);
    while (run.step(block)) {
        // The box keeps LF alone; Export writes CR LF again.
        for (char ch : block)
            if (ch != '\r')
                rows += ch;
        block.clear();
    }
    return val(rows);
}

// --- the time tab ----------------------------------------------------------

// The timed run's host: the script's timer, the box and the buttons.
class TimeHost final : public TimedRunHost {
public:
    void armTimer(int delayMs) override { host().call<void>("arm", delayMs); }
    void cancelTimer() override { host().call<void>("cancel"); }
    std::tm localNow() override
    {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local;
    }
    void launch(const CString&) override {} // never: a page opens no programs
    void showLog(const CString& text) override
    {
        // The box keeps LF alone (a text area's own line end); Export writes CR LF again.
        std::string shown;
        for (char ch : gbk::toUtf8(text))
            if (ch != '\r')
                shown += ch;
        host().call<void>("log", shown);
    }
    void showMessage(BoxKind box, const CString& text) override
    {
        if (box == BoxKind::Warning)
            g_core->msgboxWarning(nullptr, text);
        else
            plainBox(gbk::toUtf8(text));
    }
    void setGenerateEnabled(bool enabled) override { host().call<void>("enable", enabled); }

private:
    static val host() { return val::module_property("timeHost"); }
};

TimedRunDriver& timeDriver()
{
    static TimeHost host;
    static TimedRunDriver driver(host);
    return driver;
}

val loadNumber()
{
    return controlsTo(web::loadNumberPage());
}

val loadTime()
{
    return controlsTo(web::loadTimePage(page().timeLoaded));
}

bool timeGenerate(const val& controls)
{
    // With a seed every run draws the intervals kelvane-cli times draws for
    // it, as every string and number run gives its rows. Generate is off
    // while a run goes, so the source is never replaced under one.
    Page& p = page();
    RandomGen* source = &g_core->random();
    if (p.seed) {
        p.timeSource = std::make_unique<RandomGen>(RandomGen::seeded(*p.seed));
        source = p.timeSource.get();
    }
    return timeDriver().generate(web::readTimePage(controlsFrom(controls), p.timeLoaded), *source);
}

void timeTick()
{
    timeDriver().onTimer();
}

// --- leaving and export ----------------------------------------------------

// Stores every tab's options, as the window does when it closes.
void store(const val& stringControls, const val& numberControls, const val& timeControls)
{
    Page& p = page();
    web::storeStringPage(controlsFrom(stringControls), p.stringLast);
    web::storeNumberPage(controlsFrom(numberControls));
    web::storeTimePage(controlsFrom(timeControls), p.timeLoaded);
    g_core->store().sync();
}

// The bytes of the box's text (UTF-8, LF) for Export, with CR LF line ends,
// as GBK or UTF-8; null after the message when GBK cannot hold the text.
val exportBytes(const std::string& text, bool asGbk)
{
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 8);
    for (char ch : text) {
        if (ch == '\n')
            bytes += '\r';
        bytes += ch;
    }
    if (!asGbk)
        return bytesOf(bytes);
    const auto encoded = gbk::fromUtf8(bytes);
    if (!encoded) {
        plainBox(utf8(Text::ExportNeedsUtf8));
        return val::null();
    }
    return bytesOf(*encoded);
}

std::string gbkToUtf8(const std::string& bytes)
{
    return gbk::toUtf8(bytes);
}

} // namespace

BoxService& systemBoxes()
{
    static PageBoxes boxes;
    return boxes;
}

EMSCRIPTEN_BINDINGS(kelvane)
{
    emscripten::function("setGbkTable", &setGbkTable);
    emscripten::function("start", &start);
    emscripten::function("layout", &layout);
    emscripten::function("about", &about);
    emscripten::function("loadString", &loadString);
    emscripten::function("stringGenerate", &stringGenerate);
    emscripten::function("stringStep", &stringStep);
    emscripten::function("stringStop", &stringStop);
    emscripten::function("stringRowsDone", &stringRowsDone);
    emscripten::function("loadNumber", &loadNumber);
    emscripten::function("numberGenerate", &numberGenerate);
    emscripten::function("loadTime", &loadTime);
    emscripten::function("timeGenerate", &timeGenerate);
    emscripten::function("timeTick", &timeTick);
    emscripten::function("store", &store);
    emscripten::function("exportBytes", &exportBytes);
    emscripten::function("gbkToUtf8", &gbkToUtf8);
}
