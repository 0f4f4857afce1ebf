#include "core/soft.h"

#include "core/gbk.h"
#include "core/gbk_chars.h"

#include <cstring>
#include <string>

namespace {
// Copies a GBK text into a fixed field, cutting only between whole characters.
void put(char* field, std::size_t size, const std::string& text)
{
    std::size_t n = 0;
    while (n < text.size()) {
        const std::size_t len = gbk::charLen(text, n);
        if (n + len > size - 1)
            break;
        n += len;
    }
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}
} // namespace

void fillSoft(tagSoft* soft)
{
    std::memset(soft, 0, sizeof *soft);
    put(soft->name, sizeof soft->name, gbk::lit("Kelvane 随机测试数据生成器"));
    put(soft->maker, sizeof soft->maker, gbk::lit("Kelvane 开发组"));
    put(soft->copyright, sizeof soft->copyright, gbk::lit("版权所有 (C) 2026 Kelvane 开发组"));
    put(soft->description, sizeof soft->description,
        gbk::lit("随机生成字符串、数字和不定时事件，供测试与开发使用"));
}
