#include "core/texts.h"

#include "core/gbk.h"

#include <array>

namespace {
constexpr std::array<const char*, std::size_t(Text::Count_)> kTexts = {
    "至少指定一种数字类型！",
    "保留小数位数必须是0到5之间的整数！",
    "数值范围设定无效！",
    "生成个数设定无效！",
    "数值范围必须是有限的数字！",
    "整数的数值范围必须在-2147483647到2147483647之间！",
    "保留%1位小数时，数值范围必须在-%2到%2之间！",
    "数值范围内没有可生成的浮点数，请放宽数值范围！",
    "生成个数不能超过%1个！",
    "至少指定一种字符类型！",
    "生成长度设定无效！",
    "生成长度不能超过100000！",
    "排除字符设定无效，所选类型的字符已全部排除！",
    "外部程序命令行无效！",
    "发生间隔设定无效！",
    "生成成功！",
    "生成中，请稍后...",
    "生成完成，请单击导出按钮。",
    "正在生成，请在生成完成后再导出。",
    "没有可导出的内容，请先生成。",
    "结果中含有 GBK 无法表示的字符，请选择 UTF-8 文本格式导出。",
    "导出失败。",
    "“%1”中含有 GBK 无法表示的字符“%2”（%3），请修改后再生成。",
    "外部程序命令行含有 GBK 无法表示的字符（%1），请修改后再生成。",
    "导出",
    "随机字符串.txt",
    "随机数字.txt",
    "随机时间.txt",
    "头部",
    "尾部",
    "插入",
    "特殊字符",
    "排除字符",
    "字符串",
    "数字",
    "时间",
    "随机密码、用户名、域名、手机号码等",
    "指定数值范围内的整形、浮点数等",
    "不定时日期数值，并可执行命令行外部程序",
    "选项文件“%1”无法解析，已将其另存为“%2”，各选项已恢复为默认值。",
    "选项文件“%1”无法解析，且无法另存副本；本次使用默认选项，不会改写该文件。",
};
} // namespace

const char* utf8(Text t)
{
    return kTexts[std::size_t(t)];
}

const CString& text(Text t)
{
    static const auto gbkTexts = [] {
        std::array<CString, kTexts.size()> out;
        for (std::size_t i = 0; i < kTexts.size(); ++i)
            out[i] = gbk::lit(kTexts[i]);
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
