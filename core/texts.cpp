#include "core/texts.h"

#include "core/gbk.h"

#include <array>

namespace {
struct Entry {
    Text id;
    const char* utf8;
};

constexpr Entry kTexts[] = {
    {Text::NoNumberKind, "至少指定一种数字类型！"},
    {Text::DecimalsInvalid, "保留小数位数必须是0到5之间的整数！"},
    {Text::RangeInvalid, "数值范围设定无效！"},
    {Text::CountInvalid, "生成个数设定无效！"},
    {Text::RangeNotFinite, "数值范围必须是有限的数字！"},
    {Text::IntRangeTooWide, "整数的数值范围必须在-2147483647到2147483647之间！"},
    {Text::FloatRangeTooWide, "保留%1位小数时，数值范围必须在-%2到%2之间！"},
    {Text::NoFloatValue, "数值范围内没有可生成的浮点数，请放宽数值范围！"},
    {Text::TooManyRows, "生成个数不能超过%1个！"},
    {Text::NoStringKind, "至少指定一种字符类型！"},
    {Text::LengthInvalid, "生成长度设定无效！"},
    {Text::LengthTooLong, "生成长度不能超过100000！"},
    {Text::AllExcluded, "排除字符设定无效，所选类型的字符已全部排除！"},
    {Text::ProgramInvalid, "外部程序命令行无效！"},
    {Text::IntervalInvalid, "发生间隔设定无效！"},
    {Text::Generated, "生成成功！"},
    {Text::Generating, "生成中，请稍后..."},
    {Text::GeneratedToFile, "生成完成，请单击导出按钮。"},
    {Text::ExportWhileGenerating, "正在生成，请在生成完成后再导出。"},
    {Text::NothingToExport, "没有可导出的内容，请先生成。"},
    {Text::ExportNeedsUtf8, "结果中含有 GBK 无法表示的字符，请选择 UTF-8 文本格式导出。"},
    {Text::ExportFailed, "导出失败。"},
    {Text::FieldNotGbk, "“%1”中含有 GBK 无法表示的字符“%2”（%3），请修改后再生成。"},
    {Text::ProgramNotGbk, "外部程序命令行含有 GBK 无法表示的字符（%1），请修改后再生成。"},
    {Text::ExportCaption, "导出"},
    {Text::StringExportName, "随机字符串.txt"},
    {Text::NumberExportName, "随机数字.txt"},
    {Text::TimeExportName, "随机时间.txt"},
    {Text::LabelHead, "头部"},
    {Text::LabelTail, "尾部"},
    {Text::LabelInsert, "插入"},
    {Text::LabelCharSpec, "特殊字符"},
    {Text::LabelCharExclude, "排除字符"},
    {Text::TabString, "字符串"},
    {Text::TabNumber, "数字"},
    {Text::TabTime, "时间"},
    {Text::DescString, "随机密码、用户名、域名、手机号码等"},
    {Text::DescNumber, "指定数值范围内的整形、浮点数等"},
    {Text::DescTime, "不定时日期数值，并可执行命令行外部程序"},

    {Text::SoftName, "Kelvane 随机测试数据生成器"},
    {Text::SoftDescription, "随机生成字符串、数字和不定时事件，供测试与开发使用"},
    {Text::SoftMaker, "Kelvane 开发组"},
    {Text::SoftCopyright, "版权所有 (C) 2026 Kelvane 开发组"},

    {Text::WarningCaption, "警告"},
    {Text::AboutCaption, "关于 Kelvane"},
    {Text::AboutVersion, "Kelvane\n版本 %1\n"},
    {Text::OkButton, "确定"},
    {Text::GbkTextFilter, "GBK 文本 (*.txt)"},
    {Text::Utf8TextFilter, "UTF-8 文本 (*.txt)"},
    {Text::DigitsOnly, "这里只能输入数字。"},
    {Text::NoDisplay, "没有可用的图形显示（DISPLAY 和 WAYLAND_DISPLAY 均未设置），窗口无法打开。\n"
                      "Kelvane: no display is available (DISPLAY and WAYLAND_DISPLAY are unset); "
                      "start it from a desktop session."},
    {Text::DisplayUnreachable, "无法连接到图形显示，窗口无法打开。"},

    {Text::FileCreate, "无法创建文件“%1”：%2"},
    {Text::FileWrite, "写入文件“%1”失败：%2"},
    {Text::FileCommit, "保存文件“%1”失败：%2"},
    {Text::OutputRemove, "无法删除输出文件“%1”：%2"},
    {Text::OutputCreate, "无法创建输出文件“%1”：%2"},
    {Text::OutputOpen, "无法打开输出文件“%1”：%2"},
    {Text::OutputWrite, "写入输出文件“%1”失败：%2"},
    {Text::OutputClose, "关闭输出文件“%1”失败：%2"},
    {Text::SourceOpen, "无法读取输出文件“%1”：%2"},
    {Text::SourceRead, "读取输出文件“%1”失败：%2"},
    {Text::SourceNotGbk, "输出文件“%1”不是有效的 GBK 文本，未导出。"},

    {Text::StoreSetAside, "选项文件“%1”无法解析，已将其另存为“%2”，各选项已恢复为默认值。"},
    {Text::StoreSetAsideNoCopy, "选项文件“%1”无法解析，且无法另存副本；本次使用默认选项，不会改写该文件。"},

    {Text::ArgNotGbk, "%1 含有无法用 GBK 表示的字符“%2”"},
    {Text::ArgOutOfRange, "%1 的值“%2”超出范围"},
    {Text::ArgEmptyNotInt, "%1 的值为空，应为整数"},
    {Text::ArgNotInt, "%1 应为整数，而不是“%2”"},
    {Text::ArgFormEmpty, "%1 应为%2形式，例如 %3，而不是空值"},
    {Text::ArgFormBad, "%1 应为%2形式，例如 %3，而不是“%4”"},
    {Text::ArgEmpty, "%1 的值不能为空"},
    {Text::FormLength, "“长度”或“最小-最大”"},
    {Text::FormInterval, "“毫秒”或“最小-最大”"},
    {Text::OutputFailed, "写入输出失败：%1"},
    {Text::FileOpenFailed, "无法写入文件 %1：%2"},
    {Text::FileWriteFailed, "写入文件 %1 失败：%2"},
    {Text::Progress, "%1 / %2 行 (%3%)"},
    {Text::UniqueTooFew, "这些选项最多只能生成 %1 个不同的结果，无法生成 %2 个互不相同的结果"},
    {Text::UniqueExhausted, "已生成 %1 个不同的结果，无法再生成新的结果（--unique）"},
    {Text::GenerateFailedWhy, "生成失败：%1"},
    {Text::GenerateFailed, "生成失败"},
    {Text::PartForm, "--part 应为“K/N”形式（1 ≤ K ≤ N），例如 2/4，而不是“%1”"},
    {Text::PartFormEmpty, "--part 应为“K/N”形式（1 ≤ K ≤ N），例如 2/4，而不是空值"},
    {Text::PartNeedsSeed, "--part 需要 --seed：只有同一个种子才能分段生成同一批结果"},
    {Text::PartNotUnique, "--part 不能与 --unique 同用：互不相同的结果须一次生成"},
};

constexpr std::size_t kCount = std::size_t(Text::Count_);

// Every id has exactly one entry.
consteval bool eachTextOnce()
{
    std::array<int, kCount> seen{};
    for (const Entry& e : kTexts) {
        if (std::size_t(e.id) >= kCount || e.utf8 == nullptr || e.utf8[0] == '\0')
            return false;
        ++seen[std::size_t(e.id)];
    }
    for (int n : seen)
        if (n != 1)
            return false;
    return true;
}
static_assert(eachTextOnce(), "every Text needs exactly one entry in kTexts");

// The texts by id.
constexpr std::array<const char*, kCount> kById = [] {
    std::array<const char*, kCount> out{};
    for (const Entry& e : kTexts)
        out[std::size_t(e.id)] = e.utf8;
    return out;
}();
} // namespace

const char* utf8(Text t)
{
    return kById[std::size_t(t)];
}

const CString& text(Text t)
{
    static const auto gbkTexts = [] {
        std::array<CString, kCount> out;
        for (std::size_t i = 0; i < kCount; ++i)
            out[i] = gbk::lit(kById[i]);
        return out;
    }();
    return gbkTexts[std::size_t(t)];
}

std::string fill(const std::string& text, std::initializer_list<std::string> args)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9'
            && std::size_t(text[i + 1] - '1') < args.size()) {
            out += *(args.begin() + (text[i + 1] - '1'));
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string utf8(Text t, std::initializer_list<std::string> args)
{
    return fill(utf8(t), args);
}
