// The four dialog templates: sizes and positions in dialog units, controls in
// template order (the tab order).
#include "res/templates.h"

#include "res/resource.h"

namespace {
using K = ControlKind;
constexpr std::uint32_t kEdit = cs::Border | cs::AutoHScroll | cs::TabStop;
constexpr std::uint32_t kOutput = cs::Border | cs::AutoHScroll | cs::VScroll | cs::WantReturn | cs::TabStop;
constexpr std::uint32_t kLabel = cs::Left | cs::Group;
constexpr std::uint32_t kPage = ds::Child | ds::SetFont;

const ControlDef kMainControls[] = {
    {1000, K::Static, kLabel, 24, 21, 321, 9, "随机密码、随机用户名、随机域名等"},
    {1001, K::TabControl, 0, 7, 37, 339, 278, "Tab1"},
    {kNoId, K::Static, kLabel, 7, 7, 41, 8, "应用场合："},
    {1031, K::PushButton, cs::TabStop, 296, 7, 50, 14, "关于"},
};

const ControlDef kStringControls[] = {
    {1002, K::CheckBox, cs::TabStop, 16, 14, 32, 10, "大写"},
    {1003, K::CheckBox, cs::TabStop, 58, 14, 32, 10, "小写"},
    {1004, K::CheckBox, cs::TabStop, 100, 14, 32, 10, "数字"},
    {1007, K::CheckBox, cs::TabStop, 142, 14, 32, 10, "汉字"},
    {1005, K::Edit, kEdit, 50, 29, 64, 14, ""},
    {1015, K::DigitEdit, kEdit, 193, 29, 48, 14, ""},
    {1016, K::DigitEdit, kEdit, 259, 29, 48, 14, ""},
    {1006, K::Edit, kEdit, 50, 46, 64, 14, ""},
    {1017, K::DigitEdit, kEdit, 193, 46, 48, 14, ""},
    {1008, K::Edit, kEdit, 50, 63, 138, 14, ""},
    {1009, K::Edit, kEdit, 50, 80, 219, 14, ""},
    {1014, K::CheckBox, cs::TabStop, 275, 82, 32, 10, "启用"},
    {1013, K::Edit, kEdit, 50, 97, 219, 14, ""},
    {1018, K::CheckBox, cs::TabStop, 275, 99, 32, 10, "启用"},
    {1010, K::OutputEdit, kOutput, 14, 132, 256, 121, ""},
    {1011, K::PushButton, cs::TabStop, 275, 187, 49, 14, "生成"},
    {1012, K::PushButton, cs::TabStop, 275, 204, 49, 14, "导出"},
    {kNoId, K::Static, cs::Left, 14, 32, 25, 8, "头部："},
    {kNoId, K::Static, cs::Left, 14, 49, 25, 8, "尾部："},
    {kNoId, K::Static, cs::Left, 151, 32, 41, 8, "生成长度："},
    {kNoId, K::Static, cs::Left, 151, 48, 41, 8, "生成个数："},
    {kNoId, K::Static, cs::Left, 248, 34, 8, 8, "~"},
    {kNoId, K::Static, cs::Left, 14, 120, 41, 8, "结果输出，"},
    {kNoId, K::Static, cs::Left, 14, 65, 25, 8, "插入："},
    {kNoId, K::Static, cs::Left, 187, 65, 129, 8, "（位置1|文字1|... 位置从大到小）"},
    {kNoId, K::Static, cs::Left, 14, 82, 33, 8, "特殊字符"},
    {kNoId, K::Static, cs::Left, 14, 99, 33, 8, "排除字符"},
};

const ControlDef kNumberControls[] = {
    {1018, K::CheckBox, cs::TabStop, 16, 14, 32, 10, "整数"},
    {1019, K::CheckBox, cs::TabStop, 59, 14, 80, 10, "浮点数，保留小数"},
    {1020, K::Edit, kEdit, 58, 29, 39, 14, ""},
    {1021, K::Edit, kEdit, 114, 29, 39, 14, ""},
    {1022, K::DigitEdit, kEdit, 58, 46, 39, 14, ""},
    {1026, K::OutputEdit, kOutput, 14, 132, 256, 121, ""},
    {1024, K::PushButton, cs::TabStop, 275, 187, 49, 14, "生成"},
    {1025, K::PushButton, cs::TabStop, 275, 204, 49, 14, "导出"},
    {kNoId, K::Static, kLabel, 16, 32, 41, 8, "数值范围："},
    {kNoId, K::Static, kLabel, 16, 48, 41, 8, "生成个数："},
    {kNoId, K::Static, kLabel, 103, 33, 8, 8, "~"},
    {kNoId, K::Static, kLabel, 14, 120, 41, 8, "结果输出，"},
    {1023, K::DigitEdit, kEdit, 139, 12, 14, 14, ""},
    {kNoId, K::Static, kLabel, 158, 14, 9, 8, "位"},
};

const ControlDef kTimeControls[] = {
    {1014, K::CheckBox, cs::TabStop, 16, 14, 68, 10, "执行外部程序:"},
    {1013, K::Edit, kEdit | cs::Disabled, 84, 12, 238, 14, ""},
    {1007, K::DigitEdit, kEdit, 58, 29, 39, 14, ""},
    {1009, K::DigitEdit, kEdit, 114, 29, 39, 14, ""},
    {1008, K::DigitEdit, kEdit, 58, 46, 39, 14, ""},
    {1027, K::OutputEdit, kOutput, 14, 132, 256, 121, ""},
    {1028, K::PushButton, cs::TabStop, 275, 187, 49, 14, "生成"},
    {1029, K::PushButton, cs::TabStop, 275, 204, 49, 14, "导出"},
    {kNoId, K::Static, kLabel, 16, 48, 41, 8, "生成次数："},
    {kNoId, K::Static, kLabel, 16, 32, 41, 8, "发生间隔："},
    {kNoId, K::Static, kLabel, 103, 33, 8, 8, "~"},
    {kNoId, K::Static, kLabel, 159, 32, 17, 8, "毫秒"},
    {kNoId, K::Static, kLabel, 14, 120, 41, 8, "结果输出，"},
};
} // namespace

const DialogTemplate kGeneratorDialogTemplate{
    IDD_GENERATOR_DIALOG, 353, 322, "Kelvane ", "宋体", 9,
    ds::Popup | ds::Visible | ds::Caption | ds::SysMenu | ds::MinimizeBox | ds::ModalFrame | ds::SetFont | ds::AppWindow,
    kMainControls};
const DialogTemplate kStringPageTemplate{IDD_STRING_PAGE, 331, 282, "", "宋体", 9, kPage, kStringControls};
const DialogTemplate kNumberPageTemplate{IDD_NUMBER_PAGE, 330, 270, "", "宋体", 9, kPage, kNumberControls};
const DialogTemplate kTimePageTemplate{IDD_TIME_PAGE, 331, 282, "", "宋体", 9, kPage, kTimeControls};
